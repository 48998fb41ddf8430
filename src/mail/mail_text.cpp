#include "mail/mail_text.h"


namespace {

constexpr std::string_view kSubjectName = "Subject:";

std::string CutAtNul(std::string text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

}  // namespace

int ReadMailChar(MailStream& stream)
{
    const int byte = stream.readRaw();
    if (byte != '\r') {
        return byte;
    }
    if (stream.readRaw() != '\n') {
        stream.unread();
    }
    return '\n';
}

// A CR LF pair is two bytes in the file, so the step back is a seek, not a pushback.
int PeekMailChar(MailStream& stream)
{
    const long before = stream.tell();
    const int byte = ReadMailChar(stream);
    stream.seek(before);
    return byte;
}

bool SkipRestOfLine(MailStream& stream)
{
    for (;;) {
        stream.skipUntilLineBreak();
        const int byte = ReadMailChar(stream);
        if (byte == '\n') {
            return true;
        }
        if (byte < 0) {
            return false;
        }
    }
}

bool ReadMailLine(MailStream& stream, std::string& line, size_t bufferSize)
{
    line.clear();
    if (bufferSize < 2) {
        return false;
    }
    while (line.size() < bufferSize - 1) {
        const int byte = ReadMailChar(stream);
        if (byte < 0) {
            break;
        }
        line.push_back(static_cast<char>(byte));
        if (byte == '\n') {
            break;
        }
    }
    return !line.empty();
}

int WriteMailChar(int byte, MailWriteStream& stream)
{
    const auto value = static_cast<unsigned char>(byte);
    if (value == '\n' && !stream.put('\r')) {
        return -1;
    }
    return stream.put(value) ? value : -1;
}

long WriteMailString(std::string_view text, MailWriteStream& stream)
{
    long written = 0;
    for (const char byte : text) {
        if (WriteMailChar(static_cast<unsigned char>(byte), stream) < 0) {
            return -1;
        }
        ++written;
    }
    return written;
}

std::optional<std::string> FindHeaderLine(const std::string& path, std::string_view name,
                                          size_t bufferSize)
{
    return FindHeaderLineWhere(path, name, bufferSize, [](const std::string&) { return true; });
}

std::optional<std::string> FindHeaderLineWhere(
    const std::string& path, std::string_view name, size_t bufferSize,
    const std::function<bool(const std::string& value)>& accept)
{
    std::vector<HeaderLineQuery> queries = {{name, accept, std::nullopt}};
    FindHeaderLines(path, bufferSize, queries);
    return queries[0].value;
}

void FindHeaderLines(const std::string& path, size_t bufferSize,
                     std::vector<HeaderLineQuery>& queries)
{
    MailStream stream(path);
    if (!stream.isOpen()) {
        return;
    }
    size_t open = queries.size();
    std::string line;
    bool afterSubject = false;
    while (open > 0 && ReadMailLine(stream, line, bufferSize)) {
        if (line.size() <= 1) {
            if (!afterSubject) {
                return;
            }
            afterSubject = false;
            continue;
        }
        // A line longer than the buffer: the cut stays, the rest of it is skipped.
        if (line.back() != '\n') {
            SkipRestOfLine(stream);
        }
        if (stream.atEnd()) {
            return;
        }
        for (HeaderLineQuery& query : queries) {
            if (query.value || !HasPrefixNoCase(line, query.name)) {
                continue;
            }
            std::string_view value(line);
            value.remove_prefix(query.name.size());
            value.remove_prefix(SkipBlanks(value));
            if (!value.empty() && value.back() == '\n') {
                value.remove_suffix(1);
            }
            std::string found = CutAtNul(std::string(value));
            if (query.accept(found)) {
                query.value = std::move(found);
                --open;
            }
        }
        afterSubject = HasPrefixNoCase(line, kSubjectName);
    }
}

size_t ReadHeaderLine(MailStream& stream, std::string& line)
{
    line.clear();
    for (;;) {
        const int byte = ReadMailChar(stream);
        if (byte < 0) {
            break;
        }
        if (byte == '\n') {
            const int next = PeekMailChar(stream);
            if (!IsBlank(next)) {
                break;
            }
            ReadMailChar(stream);
            line.push_back('\n');
            continue;
        }
        line.push_back(static_cast<char>(byte));
    }
    return line.size();
}

std::optional<std::string> ReadFoldedValue(MailStream& stream)
{
    std::string value;
    for (;;) {
        const int byte = ReadMailChar(stream);
        if (byte < 0) {
            break;
        }
        if (byte == '\n') {
            if (IsBlank(ReadMailChar(stream))) {
                continue;
            }
            break;
        }
        value.push_back(static_cast<char>(byte));
    }
    if (value.empty()) {
        return std::nullopt;
    }
    return value;
}

NameMatch MatchHeaderNameRest(MailStream& stream, std::string_view rest)
{
    for (const char expected : rest) {
        const int byte = ReadMailChar(stream);
        if (byte < 0 || byte == '\n') {
            return NameMatch::LineEnded;
        }
        if (AsciiUpper(byte) != AsciiUpper(static_cast<unsigned char>(expected))) {
            return NameMatch::Mismatched;
        }
    }
    while (PeekMailChar(stream) == ' ') {
        ReadMailChar(stream);
    }
    return NameMatch::Matched;
}
