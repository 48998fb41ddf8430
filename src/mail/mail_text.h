// Readers of stored message files, header lookups and byte-string utilities.
//
// Message files are Shift-JIS byte strings. Readers see CR LF, LF and CR all as one LF;
// writers write CR LF. The header block runs from the start of the file to the first
// empty line, except that a single empty line directly after a "Subject:" line is
// skipped (some senders break the subject that way); a second empty line ends the block.
// Header names are passed with their colon ("From:") and match in any letter case.
// Each lookup taking a path opens the file ("rb"), reads as far as it needs and closes it.
// The body excerpt is in mail/body_summary.h, the From/Subject display form in
// mail/header_display.h.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/sjis.h"
#include "mail/mail_stream.h"

// ---- Stream primitives ----------------------------------------------------------------

// Next byte 0-255 with CR and CR LF returned as one LF, or -1 at the end of the file.
int ReadMailChar(MailStream& stream);

// The byte ReadMailChar would return next, without consuming it.
int PeekMailChar(MailStream& stream);

// Consumes bytes through ReadMailChar up to and including the next LF. False when the
// file ended first.
bool SkipRestOfLine(MailStream& stream);

// Replaces line with the next line: bytes through ReadMailChar until an LF has been
// stored, bufferSize - 1 bytes are stored, or the end of the file. False (line empty)
// when no byte was read or bufferSize is below 2. Embedded NUL bytes are kept.
bool ReadMailLine(MailStream& stream, std::string& line, size_t bufferSize);

// Writes byte, an LF as CR LF. Returns the byte, or -1 on a write error.
int WriteMailChar(int byte, MailWriteStream& stream);

// Writes every byte of text through WriteMailChar. Returns the number of bytes of text
// written, or -1 at the first error.
long WriteMailString(std::string_view text, MailWriteStream& stream);

// ---- Header lookups ---------------------------------------------------------------------

// The buffer sizes callers of FindHeaderLine use, and so the cut of the value they see.
constexpr size_t kBucketBufferSize = 201;
constexpr size_t kLinkBufferSize = 1024;
constexpr size_t kHeaderBufferSize = 4096;

// Value of the first header line of the file at path that begins with name: what a
// buffer of bufferSize bytes holds of the line, after the name and the spaces and tabs
// that follow it, without its LF and ending at a NUL byte. Only the first physical line
// of a folded header. Nothing when the file cannot be opened, the header is absent, or
// the line is the file's last (no line end follows it).
std::optional<std::string> FindHeaderLine(const std::string& path, std::string_view name,
                                          size_t bufferSize);

// As FindHeaderLine, but the value of the first such line that accept takes; lines whose
// value it refuses are passed over as if they were other headers.
std::optional<std::string> FindHeaderLineWhere(
    const std::string& path, std::string_view name, size_t bufferSize,
    const std::function<bool(const std::string& value)>& accept);

// One lookup of FindHeaderLines: the header name, the test a value must pass, and the value
// found (nothing until then).
struct HeaderLineQuery {
    std::string_view name;
    std::function<bool(const std::string& value)> accept;
    std::optional<std::string> value;
};

// FindHeaderLineWhere for every query at once, over one reading of the file: each query's
// value is what FindHeaderLineWhere would give it alone.
void FindHeaderLines(const std::string& path, size_t bufferSize,
                     std::vector<HeaderLineQuery>& queries);

// Replaces line with the next logical header line, its own final LF not stored. A line
// break followed by a space or tab stays as LF and that one blank is dropped; the byte
// after the final LF is pushed back. Returns the length: 0 for the empty line that ends
// the header block, and also at the end of the file (stream.atEnd() tells which).
size_t ReadHeaderLine(MailStream& stream, std::string& line);

// Header value from the current position, unfolded: an LF followed by a space or tab
// is dropped together with that blank; an LF followed by anything else ends the value
// and that byte is consumed. Nothing when the value is empty.
std::optional<std::string> ReadFoldedValue(MailStream& stream);

// How MatchHeaderNameRest ended.
enum class NameMatch {
    Matched,     // every byte matched; the spaces after it are consumed
    Mismatched,  // a byte differed; it and the bytes before it are consumed
    LineEnded,   // the line ended (LF consumed) or the file ended before a match
};

// Reads bytes and compares them, letters in any case, with rest. On a full match it
// also consumes the spaces (not tabs) that follow, the next byte being the first
// non-space. Otherwise the bytes read stay consumed; LineEnded tells the caller that
// the line's LF is among them, so it must not skip "the rest of the line" again.
NameMatch MatchHeaderNameRest(MailStream& stream, std::string_view rest);
