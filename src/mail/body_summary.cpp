#include "mail/body_summary.h"

#include "mail/mail_text.h"
#include "mail/summary_text.h"

namespace {

// A UTF-8 body is collected as up to this many counted bytes before conversion;
// quoted-printable and Base64 text needs more than the excerpt's length.
constexpr size_t kEncodedCollectLimit = 200;
constexpr size_t kPlainCollectLimit = 100;

struct BodyEncoding {
    bool utf8 = false;
    bool iso2022jp = false;
    bool base64 = false;
    bool quotedPrintable = false;
    bool multipart = false;
};

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool ContainsNoCase(std::string_view text, std::string_view part)
{
    return FindPastNoCase(text, part) != std::string_view::npos;
}

void ApplyCharset(std::string_view contentType, BodyEncoding& encoding)
{
    const std::string_view charset = contentType.substr(SkipPastNoCase(contentType, "charset="));
    if (charset.empty()) {
        return;
    }
    if (ContainsNoCase(charset, "UTF-8")) {
        encoding.utf8 = true;
    } else if (ContainsNoCase(charset, "iso-2022-jp")) {
        encoding.iso2022jp = true;
    }
}

void ApplyTransferEncoding(MailStream& stream, BodyEncoding& encoding)
{
    encoding.base64 = false;
    const std::optional<std::string> value = ReadFoldedValue(stream);
    if (!value) {
        return;
    }
    if (ContainsNoCase(*value, "base64")) {
        encoding.base64 = true;
    } else if (ContainsNoCase(*value, "quoted-printable")) {
        encoding.quotedPrintable = true;
    }
}

enum class LineOutcome { NextLine, HeaderContinues, EndOfFile };

// Handles a header line that began with "C" or "c", the stream just after that byte.
// A multipart Content-Type moves the scan into the first part's own header lines
// (HeaderContinues), unless that part has none.
LineOutcome ScanContentHeader(MailStream& stream, BodyEncoding& encoding)
{
    const long noted = stream.tell();
    if (MatchHeaderNameRest(stream, "ontent-Type:") == NameMatch::Matched) {
        const std::optional<std::string> value = ReadFoldedValue(stream);
        if (value) {
            encoding.utf8 = false;
            if (Contains(*value, "multipart/")) {
                encoding.multipart = true;
                SkipToFirstBoundary(stream, *value);
                if (ReadMailChar(stream) != '\n') {
                    stream.unread();
                    return LineOutcome::HeaderContinues;
                }
                // The first part has no header lines: the body is read from its start.
            } else {
                ApplyCharset(*value, encoding);
            }
        }
    } else {
        stream.seek(noted);
        if (MatchHeaderNameRest(stream, "ontent-Transfer-Encoding:") == NameMatch::Matched) {
            ApplyTransferEncoding(stream, encoding);
        }
    }
    stream.seek(noted);
    return SkipRestOfLine(stream) ? LineOutcome::NextLine : LineOutcome::EndOfFile;
}

// Scans the header block (and the header lines of a multipart's first part) for the
// body's encoding. True when the block ended at an empty line, false at end of file.
bool ScanHeaderBlock(MailStream& stream, BodyEncoding& encoding)
{
    bool afterSubject = false;
    for (;;) {
        const int first = ReadMailChar(stream);
        if (first < 0) {
            return false;
        }
        if (first == '\n') {
            if (!afterSubject) {
                return true;
            }
            afterSubject = false;
            continue;
        }
        afterSubject = false;
        if (first == 'C' || first == 'c') {
            const LineOutcome outcome = ScanContentHeader(stream, encoding);
            if (outcome == LineOutcome::EndOfFile) {
                return false;
            }
            continue;
        }
        NameMatch match = NameMatch::Mismatched;
        if (first == 'S' || first == 's') {
            match = MatchHeaderNameRest(stream, "ubject:");
            afterSubject = match == NameMatch::Matched;
        }
        if (match != NameMatch::LineEnded && !SkipRestOfLine(stream)) {
            return false;
        }
    }
}

// Appends the value of a quoted-printable "=" sequence. False when nothing was
// decoded and nothing counts: a soft line break, which only joins two lines.
bool AppendQuotedPair(MailStream& stream, std::string& out)
{
    const int value = ReadQuotedPair(stream);
    if (value == kSoftLineBreak) {
        return false;
    }
    if (value >= 0) {
        out.push_back(static_cast<char>(value));
    }
    return true;
}

std::string CollectUtf8Body(MailStream& stream, const BodyEncoding& encoding)
{
    std::string out;
    size_t count = 0;
    while (count < kEncodedCollectLimit) {
        const int byte = ReadMailChar(stream);
        if (byte < 0) {
            break;
        }
        if (byte == '=' && encoding.quotedPrintable) {
            if (AppendQuotedPair(stream, out)) {
                ++count;
            }
            continue;
        }
        if (byte == '\n') {
            if (!encoding.base64) {
                out.push_back('\n');
            }
            continue;
        }
        if (byte == '-' && encoding.multipart) {
            // "--" at this point is taken for the next boundary line.
            if (PeekMailChar(stream) == '-') {
                break;
            }
        }
        out.push_back(static_cast<char>(byte));
        ++count;
    }
    return out;
}

std::string CollectOtherBody(MailStream& stream, const BodyEncoding& encoding)
{
    const size_t limit = encoding.quotedPrintable ? kEncodedCollectLimit : kPlainCollectLimit;
    std::string out;
    size_t count = 0;
    bool spacePending = false;
    auto appendSpace = [&] {
        if (spacePending) {
            return;
        }
        out.push_back(' ');
        ++count;
        spacePending = true;
    };
    auto appendText = [&](int byte) {
        out.push_back(static_cast<char>(byte));
        ++count;
        spacePending = false;
    };
    while (count < limit) {
        const int byte = ReadMailChar(stream);
        if (byte < 0) {
            break;
        }
        if (byte == '=' && encoding.quotedPrintable) {
            // Decoded bytes are text like any other: white space among them joins the
            // pending run, anything else ends it, so that words keep their one space.
            const int value = ReadQuotedPair(stream);
            if (value == kSoftLineBreak) {
                continue;
            }
            if (value < 0) {
                break;
            }
            if (IsSummarySpace(value)) {
                appendSpace();
            } else {
                appendText(value);
            }
        } else if (IsSjisLeadByte(static_cast<unsigned char>(byte))) {
            const int trail = ReadMailChar(stream);
            if (trail < 0) {
                break;
            }
            if (IsIdeographicSpace(byte, trail)) {
                appendSpace();
            } else {
                appendText(byte);
                appendText(trail);
            }
        } else if (IsSummarySpace(byte)) {
            appendSpace();
        } else if (byte < 0x80) {
            appendText(byte);
        }
        // Half-width katakana and other single high bytes are left out.
    }
    return out;
}

}  // namespace

int HexDigitValue(int byte)
{
    if (byte >= '0' && byte <= '9') {
        return byte - '0';
    }
    if (byte >= 'A' && byte <= 'F') {
        return byte - 'A' + 10;
    }
    if (byte >= 'a' && byte <= 'f') {
        return byte - 'a' + 10;
    }
    return -1;
}

int ReadQuotedPair(MailStream& stream)
{
    const int high = stream.readRaw();
    if (high < 0) {
        return -1;
    }
    if (high == '\n') {
        return kSoftLineBreak;
    }
    if (high == '\r') {
        if (stream.readRaw() != '\n') {
            stream.unread();
        }
        return kSoftLineBreak;
    }
    const int low = stream.readRaw();
    if (low < 0) {
        return -1;
    }
    if (HexDigitValue(high) < 0 || HexDigitValue(low) < 0) {
        return '=';
    }
    return HexDigitValue(high) * 16 + HexDigitValue(low);
}

void SkipToFirstBoundary(MailStream& stream, std::string_view contentType)
{
    const size_t name = contentType.find("boundary");
    if (name == std::string_view::npos) {
        return;
    }
    std::string_view rest = contentType.substr(name + 8);
    rest.remove_prefix(SkipBlanks(rest));
    if (rest.empty() || rest.front() != '=') {
        return;
    }
    rest.remove_prefix(1);
    rest.remove_prefix(SkipBlanks(rest));
    std::string_view boundary;
    if (!rest.empty() && rest.front() == '"') {
        const size_t closing = rest.find('"', 1);
        if (closing == std::string_view::npos) {
            return;
        }
        boundary = rest.substr(1, closing - 1);
    } else {
        boundary = rest.substr(0, FindBlank(rest));
    }
    const std::string marker = "--" + std::string(boundary);
    std::string line;
    for (;;) {
        ReadHeaderLine(stream, line);
        if (HasPrefixNoCase(line, marker) || stream.atEnd()) {
            return;
        }
    }
}

std::string ExtractBodySummary(const std::string& path, CodePageConverter& codePage)
{
    MailStream stream(path);
    if (!stream.isOpen()) {
        return {};
    }
    return ExtractBodySummary(stream, codePage);
}

std::string ExtractBodySummary(MailStream& stream, CodePageConverter& codePage)
{
    if (!stream.seek(0)) {
        return {};
    }
    BodyEncoding encoding;
    if (!ScanHeaderBlock(stream, encoding)) {
        return {};
    }
    if (encoding.utf8) {
        const std::string collected = CollectUtf8Body(stream, encoding);
        return encoding.base64 ? Base64Utf8ToAnsiSummary(collected, codePage)
                               : Utf8ToAnsiSummary(collected, codePage);
    }
    const std::string collected = CollectOtherBody(stream, encoding);
    // 7bit ISO-2022-JP is the usual form; it is converted like the quoted-printable one.
    if (encoding.iso2022jp && !collected.empty()) {
        return Iso2022JpToAnsiSummary(collected);
    }
    // The excerpt is shown as a NUL-terminated text: it ends where one stands.
    return std::string(UpToNul(collected));
}
