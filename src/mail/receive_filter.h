// The receive filter: the host calls it once for every message it has just received and
// stored. It finds the message's bucket (the user's header rules first, then the
// classifier's "X-Text-Classification:" header), files the message by the sorting rule of
// that bucket, marks it, records it for the end-of-retrieval summary, counts it for the
// folder tree, and tells the host what to delete. It never changes the message file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "config/rules.h"
#include "core/host_api.h"
#include "mail/mail_text.h"

struct PluginState;
struct Platform;
class ProfileStore;

// Bits of the filter's result to the host.
enum ReceiveResultBit : int {
    kResultDeleteFromServer = 1,  // the host deletes the message on the server
    kResultHostDeletesCopy = 4,   // the host treats its own received copy as deleted
};

// Header name the classifier adds to every message it passes on.
inline constexpr std::string_view kClassificationHeader = "X-Text-Classification:";

// Index of the first header rule whose header begins the logical header line (any letter
// case) and whose search text occurs, byte for byte, in the value after it; -1 when none.
// An empty search text occurs in every value.
int MatchHeaderRule(const HeaderRuleList& rules, std::string_view line);

// The bucket of the message at mailPath, as a buffer of bufferSize bytes holds it (cut to
// bufferSize - 1 bytes, ending at a NUL byte, trailing blanks kept). The header lines are
// read in order; the first that matches a header rule gives that rule's bucket, the first
// classification header gives its value. Nothing when the file cannot be opened or the
// header block ends first.
std::optional<std::string> ClassifyMail(const std::string& mailPath, const HeaderRuleList& rules,
                                        std::size_t bufferSize = kBucketBufferSize);

// [Property] Title of the "account.ini" in the account directory of the message (the first
// directory below the mailbox), at most 199 bytes. Empty when the file or key is missing or
// the mail path has no directory below the mailbox.
std::string ReadAccountTitle(const HostApi& host, ProfileStore& profile,
                             const std::string& mailPath);

// The host's reference for a stored message: the path below the mailbox directory without
// its 4-byte extension (a remainder of 4 bytes or less is kept whole).
std::string MailReference(std::size_t mailboxLength, const std::string& mailPath);

// Classifies and files one received message; returns the ReceiveResultBit values for the
// host, which are set only when the message was filed.
int FilterReceivedMail(PluginState& state, Platform& platform, const std::string& mailPath);
