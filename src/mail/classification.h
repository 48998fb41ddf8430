// A message's bucket as the receive filter decides it: the first header line that matches one
// of the user's header rules, or else the classifier's "X-Text-Classification:" line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "config/rules.h"
#include "mail/header_lookups.h"
#include "mail/mail_text.h"

// The bucket of the message at mailPath, as a buffer of bufferSize bytes holds it (cut to
// bufferSize - 1 bytes, ending at a NUL byte, trailing blanks kept). The header lines are
// read in order; the first that matches a header rule gives that rule's bucket, the first
// classification header gives its value. Nothing when the file cannot be opened or the
// header block ends first.
std::optional<std::string> ClassifyMail(const std::string& mailPath, const HeaderRuleList& rules,
                                        std::size_t bufferSize = kBucketBufferSize);

// ClassifyMail, and what gave the bucket.
struct Classification {
    std::optional<std::string> bucket;
    int headerRule = -1;  // the index of the header rule that gave it; -1: the classification line
};
Classification ClassifyMailExplained(const std::string& mailPath, const HeaderRuleList& rules,
                                     std::size_t bufferSize = kBucketBufferSize);
