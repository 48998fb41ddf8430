#include "mail/classification.h"

#include "mail/header_lookups.h"
#include "mail/mail_stream.h"

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
    return ClassifyMailExplained(mailPath, rules, bufferSize).bucket;
}

Classification ClassifyMailExplained(const std::string& mailPath, const HeaderRuleList& rules,
                                     std::size_t bufferSize)
{
    MailStream stream(mailPath);
    if (!stream.isOpen()) {
        return {};
    }
    BucketLookup lookup(rules, bufferSize);
    LogicalLineJoiner joiner;
    std::string line;
    while (!lookup.done() && ReadPhysicalLine(stream, line)) {
        if (const std::string* logical = joiner.add(line)) {
            lookup.logicalLine(*logical);
        }
    }
    if (const std::string* logical = joiner.finish()) {
        lookup.logicalLine(*logical);
    }
    lookup.end();
    return {lookup.bucket(), lookup.matchedRule()};
}
