// The body excerpt shown after a receipt: a short single-line text from the start of a
// message body, decoded as the message's headers say and converted to the ANSI code
// page (Shift-JIS on the systems the host runs on).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "mail/mail_stream.h"
#include "mail/summary_text.h"

class CodePageConverter;

// Excerpt of the message file at path, empty when none can be made (file missing,
// no body, undecodable Base64). Reads the header block and at most a few hundred
// body bytes; the file is closed again before returning.
std::string ExtractBodySummary(const std::string& path, CodePageConverter& codePage);

// ExtractBodySummary of an open message file, read from its start; empty when the stream
// cannot go back there.
std::string ExtractBodySummary(MailStream& stream, CodePageConverter& codePage);

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
