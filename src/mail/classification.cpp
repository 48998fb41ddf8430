#include "mail/classification.h"

#include "mail/header_lookups.h"
#include "mail/mail_stream.h"

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
