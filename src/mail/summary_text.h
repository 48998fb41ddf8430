// The text of the body excerpt: its bytes converted to the ANSI code page (Shift-JIS on the
// systems the host runs on) and made one short line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CodePageConverter;

// White space as the excerpt folds it: space, tab, LF, CR, VT, FF; and the ideographic
// space, the double-byte character 81 40.
bool IsSummarySpace(int byte);
bool IsIdeographicSpace(int lead, int trail);

// The text up to its first NUL byte: an excerpt is shown as a NUL-terminated text.
std::string_view UpToNul(std::string_view text);

// Byte limit of a normalised excerpt; a double-byte character may end one byte past it.
constexpr size_t kSummaryLimit = 100;

// Collapses every run of white space (space, tab, LF, CR, VT, FF, ideographic space)
// into one space and stops once limit bytes or more are held, so that a double-byte
// character begun at limit - 1 makes limit + 1. Double-byte characters stay whole; a
// lead byte as the text's last byte is taken as a single byte.
std::string NormalizeSummaryText(std::string_view text, size_t limit);

// UTF-8 text (up to any NUL byte) to a normalised ANSI excerpt; empty when it cannot
// be converted.
std::string Utf8ToAnsiSummary(std::string_view utf8, CodePageConverter& codePage);

// Base64 text of UTF-8 bytes to a normalised ANSI excerpt; empty when undecodable.
std::string Base64Utf8ToAnsiSummary(std::string_view base64, CodePageConverter& codePage);

// ISO-2022-JP text to a normalised Shift-JIS excerpt.
std::string Iso2022JpToAnsiSummary(std::string_view jis);
