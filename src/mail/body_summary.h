// The body excerpt shown after a receipt: a short single-line text from the start of a
// message body, decoded as the message's headers say and converted to the ANSI code
// page (Shift-JIS on the systems the host runs on).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "mail/mail_stream.h"

class CodePageConverter;

// Byte limit of a normalised excerpt; a double-byte character may end one byte past it.
constexpr size_t kSummaryLimit = 100;

// Excerpt of the message file at path, empty when none can be made (file missing,
// no body, undecodable Base64). Reads the header block and at most a few hundred
// body bytes; the file is closed again before returning.
std::string ExtractBodySummary(const std::string& path, CodePageConverter& codePage);

// ExtractBodySummary of an open message file, read from its start; empty when the stream
// cannot go back there.
std::string ExtractBodySummary(MailStream& stream, CodePageConverter& codePage);

// Collapses every run of white space (space, tab, LF, CR, VT, FF, ideographic space)
// into one space and stops once limit bytes or more are held, so that a double-byte
// character begun at limit - 1 makes limit + 1. Double-byte characters stay whole; a
// lead byte as the text's last byte is taken as a single byte.
std::string NormalizeSummaryText(std::string_view text, size_t limit);

// 0-15 for a hexadecimal digit of either case, -1 for any other byte.
int HexDigitValue(int byte);

// ReadQuotedPair's result for a soft line break ("=" at the end of a line).
constexpr int kSoftLineBreak = -2;

// Decodes the two bytes after a quoted-printable "=", read as stored: their value when
// both are hexadecimal digits, else "=" with both consumed; kSoftLineBreak when the
// "=" ends its line (CR LF, LF or CR, all consumed); -1 at the end of the file.
int ReadQuotedPair(MailStream& stream);

// Reads past the first line of a multipart body that begins with "--" and the boundary
// named in contentType (the Content-Type value); the stream is left just after that
// line. Reads nothing when contentType names no boundary; stops at the end of the file.
void SkipToFirstBoundary(MailStream& stream, std::string_view contentType);

// UTF-8 text (up to any NUL byte) to a normalised ANSI excerpt; empty when it cannot
// be converted.
std::string Utf8ToAnsiSummary(std::string_view utf8, CodePageConverter& codePage);

// Base64 text of UTF-8 bytes to a normalised ANSI excerpt; empty when undecodable.
std::string Base64Utf8ToAnsiSummary(std::string_view base64, CodePageConverter& codePage);

// ISO-2022-JP text to a normalised Shift-JIS excerpt.
std::string Iso2022JpToAnsiSummary(std::string_view jis);
