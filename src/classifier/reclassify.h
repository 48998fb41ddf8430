// Correcting a message's bucket through the classifier's web interface: keeping the bucket
// list and session key, telling the classifier the right bucket, rewriting the message's
// classification header and filing the message again by its new bucket's rule.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/host_api.h"

struct PluginState;
struct Platform;
class HttpClient;

struct ClassifierContext;

// Corrects every selected message of a folder window, one after the other, while the user
// can watch and stop it (the progress box; reclassify_progress_box_win.h).
class SelectedMailCorrection {
public:
    virtual ~SelectedMailCorrection() = default;

    // Returns once the selected messages of window are corrected to the bucket at
    // bucketIndex, or the user stopped early.
    virtual void correctSelectedMails(ClassifierContext& context, HostWindow window,
                                      intptr_t bucketIndex) = 0;
};

// What the classifier link works with: the process-wide state (settings, rules, host
// services, ReclassifyState), the platform services, the HTTP client and the way several
// selected messages are corrected (none: such a correction does nothing).
struct ClassifierContext {
    PluginState& state;
    Platform& platform;
    HttpClient& http;
    SelectedMailCorrection* selectedMails = nullptr;
};

// The message file of a window: the shown message's path for a view window
// (kCorrectViewedMail), otherwise the folder window's current entry below the mailbox
// root with ".CRV" appended. The path found becomes currentMailPath. Nothing when the
// host names no message.
std::optional<std::string> MailPathForWindow(ClassifierContext& context, HostWindow window,
                                             int32_t mode);

// The message's "X-Text-Classification:" value (as a 4096-byte buffer holds it), which
// also becomes currentClassification. Nothing when the header is absent.
std::optional<std::string> ReadCurrentClassification(ClassifierContext& context,
                                                     const std::string& mailPath);

// MailPathForWindow followed by ReadCurrentClassification.
std::optional<std::string> CurrentClassificationForWindow(ClassifierContext& context,
                                                          HostWindow window, int32_t mode);

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

// LearnClassifierAddress applied to the message's trusted "X-POPFile-Link:" value.
std::optional<std::string> RememberClassifierAddress(ClassifierContext& context,
                                                     const std::string& mailPath);

// Fetches the bucket list from URL + "buckets" while it is empty, or always with force
// (emptying it first). Does nothing while URL is empty.
void FetchBuckets(ClassifierContext& context, bool force);

// The bucket list, fetched first when it is empty. Empty when the classifier cannot say.
const std::vector<std::string>& GetBucketList(ClassifierContext& context);

// Empties the session key, fetches the page at base and takes the key from it. Returns
// the key, empty when base is empty, the page cannot be had or holds none.
const std::string& FetchSessionKey(ClassifierContext& context, const std::string& base);

// The host command of a bucket item: corrects the message of the last filled submenu to
// the bucket at bucketIndex, or, when that submenu was for several selected messages,
// every selected message of window through selectedMails. An index outside the list
// does nothing.
void ReclassifyCommand(ClassifierContext& context, HostWindow window, intptr_t bucketIndex);

// The host command of "バケツの再取得": fetches the bucket list again.
void RefetchBucketsCommand(ClassifierContext& context);

// Corrects one message: tells the classifier when the message carries its number,
// rewrites the classification header, then files the message by the new bucket's rule.
void CorrectMail(ClassifierContext& context, const std::string& mailPath, intptr_t bucketIndex);

// The classifier's number of the message from its trusted link's "view=" part
// (messageNumber is set to it), or -1 when the message has no trusted link or the link has
// no "view=". Also learns the classifier's address from the link.
int32_t ReadMessageNumber(ClassifierContext& context, const std::string& mailPath);

// The form that tells the classifier that a message belongs to bucket.
std::string CorrectionFormBody(const std::string& sessionKey, int32_t messageNumber,
                               const std::string& bucket);

// Posts the correction of messageNumber to the bucket at bucketIndex to URL + "history",
// with a fresh session key; sends nothing when no key can be had.
void PostCorrection(ClassifierContext& context, intptr_t bucketIndex);

// Rewrites currentMailPath's classification header to the bucket at bucketIndex (and with
// SubjectEdit removes "[unclassified]" from the Subject), then clears the message's mark
// and sets the mark of the bucket's rule. The file is replaced in one step only once the
// new one is completely written; on any failure it stays as it was. Returns whether a
// Subject edit was made and kept.
bool RewriteClassification(ClassifierContext& context, intptr_t bucketIndex);

// Moves the message to the folder of its new bucket's rule, or to the inbox without a
// rule; a message whose Subject was edited is copied there instead (the host's own copy
// still has the old text) and the original deleted. A message without classification
// header stays where it is.
void RefileCorrectedMail(ClassifierContext& context, const std::string& mailPath,
                         bool subjectEdited);
