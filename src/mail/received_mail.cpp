#include "mail/received_mail.h"

#include "mail/body_summary.h"
#include "mail/header_lookups.h"
#include "mail/mail_text.h"

ReceivedMail::ReceivedMail(const std::string& path) : stream_(path) {}

ReceivedHeader ReceivedMail::readHeader(const HeaderRuleList& rules, bool wantFrom,
                                        bool wantSubject)
{
    ReceivedHeader header;
    if (!stream_.isOpen()) {
        return header;
    }
    BucketLookup bucket(rules, kBucketBufferSize);
    HeaderValueLookup from("From:", wantFrom);
    HeaderValueLookup subject("Subject:", wantSubject);
    LogicalLineJoiner joiner;
    std::string line;
    while (!(bucket.done() && from.done() && subject.done()) && ReadPhysicalLine(stream_, line)) {
        from.line(line);
        subject.line(line);
        if (const std::string* logical = joiner.add(line)) {
            bucket.logicalLine(*logical);
        }
    }
    if (const std::string* logical = joiner.finish()) {
        bucket.logicalLine(*logical);
    }
    bucket.end();
    from.end();
    subject.end();
    header.bucket = bucket.bucket();
    header.from = from.value();
    header.subject = subject.value();
    return header;
}

std::string ReceivedMail::excerpt(CodePageConverter& codePage)
{
    return stream_.isOpen() ? ExtractBodySummary(stream_, codePage) : std::string();
}
