#include "mail/header_lookups.h"

#include "base/sjis.h"
#include "mail/mail_text.h"

namespace {

constexpr std::string_view kSubjectRest = "ubject:";

bool StartsWithBlank(const std::string& line)
{
    return !line.empty() && IsBlank(static_cast<unsigned char>(line.front()));
}

// How a comparison of a line with a name's remaining bytes ended, read as a stream reader
// reads it: a byte that differs is consumed with the ones before it.
struct NameComparison {
    enum Outcome { Matched, Mismatched, LineEnded } outcome;
    std::size_t next;  // the position after the bytes consumed
};

NameComparison CompareName(const std::string& line, std::size_t position, std::string_view rest)
{
    for (const char expected : rest) {
        if (position >= line.size()) {
            return {NameComparison::LineEnded, position};
        }
        const int byte = static_cast<unsigned char>(line[position++]);
        if (AsciiUpper(byte) != AsciiUpper(static_cast<unsigned char>(expected))) {
            return {NameComparison::Mismatched, position};
        }
    }
    return {NameComparison::Matched, position};
}

// The bytes of text as a NUL-terminated buffer of bufferSize bytes would hold them.
std::string CutToBuffer(std::string_view text, std::size_t bufferSize)
{
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    const std::size_t room = bufferSize > 0 ? bufferSize - 1 : 0;
    return std::string(text.substr(0, room));
}

}  // namespace

int MatchHeaderRule(const HeaderRuleList& rules, std::string_view line)
{
    for (std::size_t index = 0; index < rules.size(); ++index) {
        const HeaderRule& rule = rules[index];
        if (!HasPrefixNoCase(line, rule.header)) {
            continue;
        }
        const std::string_view rest = line.substr(rule.header.size());
        if (rest.substr(SkipBlanks(rest)).find(rule.search) != std::string_view::npos) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

bool ReadPhysicalLine(MailStream& stream, std::string& line)
{
    line.clear();
    for (;;) {
        stream.appendUntilLineBreak(line);
        const int byte = ReadMailChar(stream);
        if (byte < 0) {
            return !line.empty();
        }
        if (byte == '\n') {
            return true;
        }
        line.push_back(static_cast<char>(byte));
    }
}

const std::string* LogicalLineJoiner::add(std::string& physicalLine)
{
    if (havePending_ && StartsWithBlank(physicalLine)) {
        pending_ += '\n';
        pending_.append(physicalLine, 1, std::string::npos);
        physicalLine.clear();
        return nullptr;
    }
    // The three buffers take turns, so that no line costs an allocation of its own.
    const bool completes = havePending_;
    completed_.swap(pending_);
    pending_.swap(physicalLine);
    physicalLine.clear();
    havePending_ = true;
    return completes ? &completed_ : nullptr;
}

const std::string* LogicalLineJoiner::finish()
{
    if (!havePending_) {
        return nullptr;
    }
    havePending_ = false;
    completed_.swap(pending_);
    return &completed_;
}

HeaderValueLookup::HeaderValueLookup(std::string_view name, bool wanted)
    : name_(name), done_(!wanted || name.empty())
{
}

void HeaderValueLookup::line(const std::string& line)
{
    if (done_) {
        return;
    }
    if (collecting_) {
        if (StartsWithBlank(line)) {
            value_->append(line, 1, std::string::npos);
        } else {
            finish();
        }
        return;
    }
    if (line.empty()) {
        done_ = !afterSubject_;
        afterSubject_ = false;
        return;
    }
    std::size_t afterName = 1;
    const int first = static_cast<unsigned char>(line.front());
    if (AsciiUpper(first) == AsciiUpper(static_cast<unsigned char>(name_.front()))) {
        const NameComparison name = CompareName(line, 1, name_.substr(1));
        if (name.outcome == NameComparison::Matched) {
            std::size_t valueStart = name.next;
            while (valueStart < line.size() && line[valueStart] == ' ') {
                ++valueStart;
            }
            value_ = line.substr(valueStart);
            collecting_ = true;
            return;
        }
        if (name.outcome == NameComparison::LineEnded) {
            afterSubject_ = false;
            return;
        }
        afterName = name.next;
    }
    afterSubject_ = isSubjectLine(line, afterName);
}

// A "Subject:" line, tested as the stream reader tests it: from where the name's own
// comparison stopped.
bool HeaderValueLookup::isSubjectLine(const std::string& line, std::size_t afterName) const
{
    const char first = line.front();
    return (first == 's' || first == 'S') &&
           CompareName(line, afterName, kSubjectRest).outcome == NameComparison::Matched;
}

void HeaderValueLookup::end()
{
    if (collecting_) {
        finish();
    }
    done_ = true;
}

void HeaderValueLookup::finish()
{
    collecting_ = false;
    done_ = true;
    const std::size_t nul = value_->find('\0');
    if (nul != std::string::npos) {
        value_->resize(nul);
    }
    if (value_->empty()) {
        value_.reset();
    }
}

BucketLookup::BucketLookup(const HeaderRuleList& rules, std::size_t bufferSize)
    : rules_(rules), bufferSize_(bufferSize)
{
}

void BucketLookup::logicalLine(const std::string& line)
{
    if (done_) {
        return;
    }
    if (line.empty()) {
        // Some senders put one empty line after the subject; only that one is skipped.
        done_ = !afterSubject_;
        afterSubject_ = false;
        return;
    }
    const int ruleIndex = MatchHeaderRule(rules_, line);
    if (ruleIndex >= 0) {
        bucket_ = CutToBuffer(rules_[static_cast<std::size_t>(ruleIndex)].bucket, bufferSize_);
        matchedRule_ = ruleIndex;
        done_ = true;
        return;
    }
    if (HasPrefixNoCase(line, kClassificationHeader)) {
        const std::string_view rest = std::string_view(line).substr(kClassificationHeader.size());
        bucket_ = CutToBuffer(rest.substr(SkipBlanks(rest)), bufferSize_);
        done_ = true;
        return;
    }
    afterSubject_ = HasPrefixNoCase(line, "Subject:");
}

std::optional<std::string> FindHeaderValue(const std::string& path, std::string_view name)
{
    HeaderValueLookup lookup(name);
    if (lookup.done()) {
        return std::nullopt;
    }
    MailStream stream(path);
    if (!stream.isOpen()) {
        return std::nullopt;
    }
    std::string line;
    while (!lookup.done() && ReadPhysicalLine(stream, line)) {
        lookup.line(line);
    }
    lookup.end();
    return lookup.value();
}
