// What the receive filter reads of a message it has just received, from one opening of its
// file: the bucket, the sender and the subject in one pass over the header block, and the
// body excerpt from the same open file when it is wanted.
#pragma once

#include <optional>
#include <string>

#include "config/rules.h"
#include "mail/mail_stream.h"

class CodePageConverter;

// The header block's answers, each exactly as its single lookup would give it.
struct ReceivedHeader {
    std::optional<std::string> bucket;   // ClassifyMail (cut to 200 bytes)
    std::optional<std::string> from;     // FindHeaderValue "From:", when asked for
    std::optional<std::string> subject;  // FindHeaderValue "Subject:", when asked for
};

class ReceivedMail {
public:
    // Opens the message file; it stays open until the object goes, so let it go before the
    // message is moved or deleted.
    explicit ReceivedMail(const std::string& path);

    // One pass over the header block: the same answers as ClassifyMail with a 201-byte buffer
    // and FindHeaderValue for "From:" and "Subject:", whatever the message holds. Nothing at
    // all when the file cannot be opened.
    ReceivedHeader readHeader(const HeaderRuleList& rules, bool wantFrom, bool wantSubject);

    // ExtractBodySummary of the open file; empty when it could not be opened.
    std::string excerpt(CodePageConverter& codePage);

private:
    MailStream stream_;
};
