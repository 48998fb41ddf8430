#include "mail/classification.h"

#include "mail/mail_stream.h"

namespace {

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

// The classification value of a logical header line, or nothing for any other header.
std::optional<std::string_view> ClassificationValue(std::string_view line)
{
    if (!HasPrefixNoCase(line, kClassificationHeader)) {
        return std::nullopt;
    }
    const std::string_view rest = line.substr(kClassificationHeader.size());
    return rest.substr(SkipBlanks(rest));
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

std::optional<std::string> ClassifyMail(const std::string& mailPath, const HeaderRuleList& rules,
                                        std::size_t bufferSize)
{
    MailStream stream(mailPath);
    if (!stream.isOpen()) {
        return std::nullopt;
    }
    std::string line;
    bool afterSubject = false;
    for (;;) {
        if (ReadHeaderLine(stream, line) == 0) {
            // Some senders put one empty line after the subject; only that one is skipped.
            if (stream.atEnd() || !afterSubject) {
                return std::nullopt;
            }
            afterSubject = false;
            continue;
        }
        const int ruleIndex = MatchHeaderRule(rules, line);
        if (ruleIndex >= 0) {
            return CutToBuffer(rules[static_cast<std::size_t>(ruleIndex)].bucket, bufferSize);
        }
        if (const auto value = ClassificationValue(line)) {
            return CutToBuffer(*value, bufferSize);
        }
        afterSubject = HasPrefixNoCase(line, "Subject:");
    }
}
