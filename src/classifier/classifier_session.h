// The plug-in's link to the classifier's web interface: POPFile's bucket list and session
// key as last read, its address learned from the "X-POPFile-Link:" headers it puts into
// every message, and the notice of a correction posted to its history page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/pending_corrections.h"

struct Platform;
struct PluginSettings;
class HttpClient;

// What the link keeps for the plug-in's run.
struct ClassifierSession {
    std::vector<std::string> buckets;  // in page order; duplicates kept
    std::string sessionKey;            // as last found on a classifier page
};

// Start-up state: no buckets, no key.
void ResetClassifierSession(ClassifierSession& session);

// What the link works with: its session, the settings (URL is read, and written when
// learned, through the platform's INI file, which also keeps the pending corrections), the
// HTTP client and the day's date (by the system's clock unless a test sets it).
struct ClassifierContext {
    ClassifierSession& session;
    PluginSettings& settings;
    Platform& platform;
    HttpClient& http;
    int32_t (*today)() = Today;
};

// The classifier's base address from a message link (the text before "jump"). Any sender
// can write the link, so only a trusted one (IsTrustedLink against URL) with an "http://"
// base counts. While the URL setting is empty the address becomes URL and is written at
// once; a URL already set is never replaced. Nothing when the link holds no usable address.
std::optional<std::string> LearnClassifierAddress(ClassifierContext& context,
                                                  const std::string& link);

// The value of the message's first "X-POPFile-Link:" header that IsTrustedLink accepts
// against URL, as a buffer of bufferSize bytes holds it. Forged links of a sender, before
// or after, are passed over; nothing when the message has no trusted link.
std::optional<std::string> FindTrustedLink(ClassifierContext& context, const std::string& mailPath,
                                           std::size_t bufferSize);

// The classifier's number of the message from its trusted link's "view=" part, or -1 when
// the message has no trusted link or the link has no "view=". Also learns the
// classifier's address from the link.
int32_t ReadMessageNumber(ClassifierContext& context, const std::string& mailPath);

// Fetches the bucket list from URL + "buckets" while it is empty, or always with force
// (emptying it first), then sends the pending corrections with the key the page showed.
// Does nothing while URL is empty.
void FetchBuckets(ClassifierContext& context, bool force);

// The bucket list, fetched first when it is empty. Empty when the classifier cannot say.
const std::vector<std::string>& GetBucketList(ClassifierContext& context);

// Empties the session key, fetches the page at base and takes the key from it. Returns
// the key, empty when base is empty, the page cannot be had or holds none.
const std::string& FetchSessionKey(ClassifierContext& context, const std::string& base);

// The form that tells the classifier that a message belongs to bucket.
std::string CorrectionFormBody(const std::string& sessionKey, int32_t messageNumber,
                               const std::string& bucket);

// How the notice of a correction reached the classifier.
enum class NoticeOutcome {
    Delivered,     // answered, and the answer is neither the Session Expired nor the password page
    NotDelivered,  // no key, no request made, or an answer that refused it
    Ambiguous,     // given up on after it was sent: the classifier may have acted on it
};

// Posts the correction of messageNumber to bucket to URL + "history" and reads the answer.
// The session key is fetched first, or, with runKey (several corrections in a row), taken
// from there and fetched only while it is empty; runKey is emptied again when an answer shows
// no key. An answer that is the Session Expired page gets the key fetched once more and the
// notice posted once more. Nothing is sent when no key can be had.
NoticeOutcome PostCorrection(ClassifierContext& context, int32_t messageNumber,
                             const std::string& bucket, std::string* runKey = nullptr);

// What follows a notice's outcome for the corrections kept pending: a notice not delivered is
// kept (replacing an older one for the same message); a delivered one replaces any pending
// one for its message, and the pending ones are then sent, oldest first; an ambiguous one is
// not kept, and an older pending one for its message is dropped (it would undo the new one).
void RecordNoticeOutcome(ClassifierContext& context, int32_t messageNumber,
                         const std::string& bucket, NoticeOutcome outcome, std::string* runKey);

// Sends the pending corrections, oldest first, each taken out once delivered or given up on
// after it was sent; the first one not delivered ends the round (POPFile cannot be reached).
void DeliverPendingCorrections(ClassifierContext& context, std::string* runKey);

// How many corrections are pending.
std::size_t CountPendingCorrections(ClassifierContext& context);
