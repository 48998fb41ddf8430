// Display form of a received mail's From and Subject texts: the display name, with
// RFC 2047 encoded words decoded and a byte limit applied when one is set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CodePageConverter;

// Decodes every RFC 2047 encoded word ("=?charset?B?...?=", "=?charset?Q?...?=") in
// text; other bytes are copied unchanged, blanks between adjacent words included.
// ISO-2022-JP and UTF-8 words are converted to the ANSI code page; other charsets are
// taken as already being in it. NUL bytes a word decodes to are dropped.
std::string DecodeEncodedWords(std::string_view text, CodePageConverter& codePage);

// Display part of a From-style text, after leading spaces: the first double-quoted
// text, else the first parenthesised comment, else an address in angle brackets at the
// start, else the text before "<" without the spaces before it. Nothing when the text
// is empty or only spaces.
std::optional<std::string> ExtractDisplayName(std::string_view text);

// Text after leading spaces, decoded, cut to at most maxBytes bytes without splitting a
// double-byte character. Nothing when the text is empty or only spaces.
std::optional<std::string> DecodeAndTruncate(std::string_view text, size_t maxBytes,
                                             CodePageConverter& codePage);

// Display form of a From or Subject text: its display name; with fromLength above 0
// also decoded and cut to fromLength bytes, otherwise left as it stands. Nothing when
// the text is empty or only spaces.
std::optional<std::string> FormatHeaderForDisplay(std::string_view text, int32_t fromLength,
                                                  CodePageConverter& codePage);
