#include "plugin/correct_mail.h"

#include "base/platform.h"
#include "config/rule_store.h"
#include "mail/classification.h"
#include "mail/classification_rewriter.h"
#include "mail/mail_text.h"
#include "mailbox/folder_catalogue.h"
#include "mailbox/mailbox.h"
#include "plugin/plugin_state.h"

namespace {
// The mark value that clears a message's mark.
constexpr int kClearMark = 7;

std::optional<std::string> BucketAt(const ClassifierSession& session, intptr_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= session.buckets.size()) {
        return std::nullopt;
    }
    return session.buckets[static_cast<std::size_t>(index)];
}

void MarkWithBucketRule(const PluginState& state, const std::string& mailPath,
                        const std::string& bucket)
{
    const std::optional<std::string> reference =
        ReferenceBelowMailbox(mailPath, MailboxRoot(state.host));
    if (!reference) {
        return;
    }
    state.host.APAMarkMail(reference->c_str(), kClearMark, 0);
    const SortRule* rule = FindSortRule(state.sortRules, bucket);
    if (rule != nullptr && rule->mark > 0) {
        state.host.APAMarkMail(reference->c_str(), rule->mark, 1);
    }
}

// Rewrites the message's classification header, then moves its mark to the bucket's rule.
// Returns whether a Subject edit was made and kept.
bool RewriteClassification(CorrectionContext& context, const std::string& mailPath,
                          const std::string& bucket)
{
    if (mailPath.empty()) {
        return false;
    }
    const bool subjectEdited = RewriteClassificationHeader(
        context.platform.files, mailPath, bucket, context.state.settings.SubjectEdit != 0);
    MarkWithBucketRule(context.state, mailPath, bucket);
    return subjectEdited;
}

// Files the message by the bucket its header now names (the old one when the rewrite failed).
void RefileCorrectedMail(CorrectionContext& context, const std::string& mailPath,
                         bool subjectEdited)
{
    const PluginState& state = context.state;
    const std::optional<std::string> bucket =
        FindHeaderLine(mailPath, kClassificationHeader, kBucketBufferSize);
    if (!bucket) {
        return;
    }
    const std::optional<std::string> reference =
        ReferenceBelowMailbox(mailPath, MailboxRoot(state.host));
    if (!reference) {
        return;
    }
    const SortRule* rule = FindSortRule(state.sortRules, *bucket);
    const std::string destination =
        FolderDestination(ReadAccountTitle(state.host, context.platform.profile, mailPath),
                          rule != nullptr ? rule->folder : kInboxDisplayPath);
    if (subjectEdited) {
        copyMailToFolder(state.host, context.platform.files, *reference, destination, true);
    } else {
        state.host.APAMoveMail(reference->c_str(), destination.c_str());
    }
}
}  // namespace

void ResetReclassifyState(ReclassifyState& state)
{
    ResetClassifierSession(state.session);
    state.currentMailPath.clear();
}

CorrectionContext::CorrectionContext(PluginState& state, Platform& platform, HttpClient& http,
                                     SelectedMailCorrection* selectedMails)
    : state(state), platform(platform),
      classifier{state.reclassify.session, state.settings, platform, http},
      selectedMails(selectedMails)
{
}

std::optional<std::string> MailPathForWindow(const HostApi& host, HostWindow window,
                                             int32_t mode)
{
    if (mode == kCorrectViewedMail) {
        const char* viewed = host.APAViewGetPath(window);
        return viewed != nullptr ? std::optional<std::string>(viewed) : std::nullopt;
    }
    const char* entry = host.APAFolderGetCurrentEntry(window);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return MailPathOfEntry(MailboxRoot(host), entry);
}

void ReclassifyCommand(CorrectionContext& context, HostWindow window, intptr_t bucketIndex)
{
    const ReclassifyState& reclassify = context.state.reclassify;
    const std::optional<std::string> bucket = BucketAt(reclassify.session, bucketIndex);
    if (!bucket) {
        return;
    }
    if (reclassify.correctionMode == kCorrectSeveralInFolder) {
        if (context.selectedMails != nullptr) {
            std::string sessionKey;
            context.runSessionKey = &sessionKey;
            context.selectedMails->forEachSelectedMail(
                window, [&](const std::string& mailPath) { CorrectMail(context, mailPath, *bucket); });
            context.runSessionKey = nullptr;
        }
        return;
    }
    // A copy: the correction's requests may let the host fill another submenu meanwhile.
    const std::string mailPath = reclassify.currentMailPath;
    CorrectMail(context, mailPath, *bucket);
}

void RefetchBucketsCommand(CorrectionContext& context)
{
    FetchBuckets(context.classifier, true);
}

void CorrectMail(CorrectionContext& context, const std::string& mailPath,
                 const std::string& bucket)
{
    const int32_t messageNumber = ReadMessageNumber(context.classifier, mailPath);
    if (messageNumber > 0) {
        const NoticeOutcome outcome =
            PostCorrection(context.classifier, messageNumber, bucket, context.runSessionKey);
        RecordNoticeOutcome(context.classifier, messageNumber, bucket, outcome,
                            context.runSessionKey);
    }
    const bool subjectEdited = RewriteClassification(context, mailPath, bucket);
    RefileCorrectedMail(context, mailPath, subjectEdited);
}
