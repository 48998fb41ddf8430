// Correcting a message's bucket, as the user asks for it from the correction submenu: the
// classifier is told the right bucket when the message carries its number, the message's
// classification header is rewritten, its mark follows the new bucket's rule and it is
// filed again by that rule. Several selected messages are corrected one after another
// behind the progress box.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/host_api.h"
#include "classifier/classifier_session.h"

struct PluginState;
struct Platform;
class HttpClient;

// Which kind of correction submenu was filled last.
enum CorrectionMode : int32_t {
    kCorrectOneInFolder = 0,      // one message selected in a folder window
    kCorrectViewedMail = 1,       // the message shown in a view window
    kCorrectSeveralInFolder = 2,  // several messages selected in a folder window
};

// What a correction keeps between the host's calls: the classifier's bucket list and session
// key, and the message the last filled submenu was for, which its bucket items correct.
struct ReclassifyState {
    ClassifierSession session;
    std::string currentMailPath;  // full path of the message file; empty for none
    int32_t correctionMode = kCorrectOneInFolder;
};

// Start-up state: no buckets, no key, no message.
void ResetReclassifyState(ReclassifyState& state);

// Goes through the selected messages of a folder window one after the other, while the user
// can watch and stop it (the progress box).
class SelectedMailCorrection {
public:
    virtual ~SelectedMailCorrection() = default;

    // Hands every selected message file of window to correctOne in turn; returns once all
    // were handed over, or the user stopped early.
    virtual void forEachSelectedMail(HostWindow window,
                                     const std::function<void(const std::string&)>& correctOne) = 0;
};

// What a correction works with: the process-wide state, the platform services, the link to
// the classifier over the state's session, and the way several selected messages are
// corrected (none: such a correction does nothing).
struct CorrectionContext {
    CorrectionContext(PluginState& state, Platform& platform, HttpClient& http,
                      SelectedMailCorrection* selectedMails = nullptr);

    PluginState& state;
    Platform& platform;
    ClassifierContext classifier;
    SelectedMailCorrection* selectedMails;
    // While several messages are corrected in a row: the session key their notices share.
    std::string* runSessionKey = nullptr;
};

// The message file of a window: the shown message's path for a view window
// (kCorrectViewedMail), otherwise the folder window's current entry below the mailbox root
// with ".CRV" appended. Nothing when the host names no message.
std::optional<std::string> MailPathForWindow(const HostApi& host, HostWindow window,
                                             int32_t mode);

// The host command of a bucket item: corrects the message of the last filled submenu to the
// bucket at bucketIndex, or, when that submenu was for several selected messages, every
// selected message of window through selectedMails, their notices sharing one session key
// (fetched again only when an answer shows none). An index outside the list does nothing.
void ReclassifyCommand(CorrectionContext& context, HostWindow window, intptr_t bucketIndex);

// The host command of "バケツの再取得": fetches the bucket list again.
void RefetchBucketsCommand(CorrectionContext& context);

// Corrects one message to bucket: tells the classifier when the message carries its number,
// rewrites the classification header (with SubjectEdit also the Subject's "[unclassified]"),
// clears the message's mark and sets the mark of the bucket's rule, then moves the message
// to the folder of its new bucket's rule, or to the inbox without a rule. A message whose
// Subject was edited is copied there instead (the host's own copy still has the old text)
// and the original deleted. A message without classification header keeps its place and
// text; one outside the mailbox is neither marked nor moved.
void CorrectMail(CorrectionContext& context, const std::string& mailPath,
                 const std::string& bucket);
