// The readers of a stored message's header block: line and streaming lookups, the logical
// header lines of the classification scan, the scan itself with header rules, and the
// receive filter's single pass, which must answer as those lookups do one by one.
#include <vector>

#include "config/rules.h"
#include "fuzz_support.h"
#include "mail/mail_stream.h"
#include "mail/header_lookups.h"
#include "mail/mail_text.h"
#include "mail/classification.h"
#include "mail/received_mail.h"

namespace {

const char* const kNames[] = {"X-Text-Classification:", "X-POPFile-Link:", "From:", "Subject:",
                              "S", ""};

const std::size_t kBufferSizes[] = {0, 1, 2, 3, kBucketBufferSize, kLinkBufferSize,
                                    kHeaderBufferSize};

HeaderRuleList Rules()
{
    return {HeaderRule{"From:", "@", "mail"}, HeaderRule{"X-Spam-Flag:", "YES", "spam"},
            HeaderRule{"Subject:", "", "any"}, HeaderRule{"", "x", "empty"}};
}

void ReadEveryLogicalLine(const std::string& path)
{
    MailStream stream(path);
    std::string line;
    while (!stream.atEnd()) {
        const std::size_t length = ReadHeaderLine(stream, line);
        FUZZ_CHECK(length == line.size());
        FUZZ_CHECK(line.find('\r') == std::string::npos);
    }
}

void ReadEveryLine(const std::string& path, std::size_t bufferSize)
{
    MailStream stream(path);
    std::string line;
    while (ReadMailLine(stream, line, bufferSize)) {
        FUZZ_CHECK(line.size() < bufferSize);
        FUZZ_CHECK(line.find('\r') == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::size_t choice = input.byte();
    const std::string path = WriteScratchFile("mail.CRV", input.rest());

    for (const char* name : kNames) {
        const std::size_t bufferSize = kBufferSizes[choice % std::size(kBufferSizes)];
        if (const auto value = FindHeaderLine(path, name, bufferSize)) {
            FUZZ_CHECK(value->size() < bufferSize);
            FUZZ_CHECK(value->find('\0') == std::string::npos);
            FUZZ_CHECK(value->find('\n') == std::string::npos);
        }
        if (const auto value = FindHeaderValue(path, name)) {
            FUZZ_CHECK(!value->empty());
            FUZZ_CHECK(value->find('\0') == std::string::npos);
        }
    }
    const HeaderRuleList rules = Rules();
    if (const auto bucket = ClassifyMail(path, rules, 1 + choice % kBucketBufferSize)) {
        FUZZ_CHECK(bucket->size() <= choice % kBucketBufferSize);
    }
    const bool wantFrom = (choice & 1) != 0;
    const bool wantSubject = (choice & 2) != 0;
    const ReceivedHeader header = ReceivedMail(path).readHeader(rules, wantFrom, wantSubject);
    FUZZ_CHECK(header.bucket == ClassifyMail(path, rules));
    FUZZ_CHECK(header.from == (wantFrom ? FindHeaderValue(path, "From:") : std::nullopt));
    FUZZ_CHECK(header.subject == (wantSubject ? FindHeaderValue(path, "Subject:") : std::nullopt));
    ReadEveryLogicalLine(path);
    ReadEveryLine(path, 2 + choice % 64);
    return 0;
}
