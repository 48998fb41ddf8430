#include "classifier/classifier_session.h"

#include <string_view>

#include "base/platform.h"
#include "classifier/classifier_pages.h"
#include "classifier/http_client.h"
#include "config/settings.h"
#include "config/settings_store.h"
#include "mail/mail_text.h"

namespace {
constexpr const char* kBucketPage = "buckets";
constexpr const char* kHistoryPage = "history";
}  // namespace

void ResetClassifierSession(ClassifierSession& session)
{
    session.buckets.clear();
    session.sessionKey.clear();
}

std::optional<std::string> LearnClassifierAddress(ClassifierContext& context,
                                                  const std::string& link)
{
    const std::string& url = context.settings.URL;
    if (!IsTrustedLink(link, url)) {
        return std::nullopt;
    }
    std::optional<std::string> base = ClassifierBaseFromLink(link);
    if (!base || !IsClassifierAddress(*base) || !IsTrustedLink(*base, url)) {
        return std::nullopt;
    }
    if (context.settings.URL.empty()) {
        writeLearnedUrl(context.settings, *base, context.platform.profile, context.platform.files);
    }
    return base;
}

std::optional<std::string> FindTrustedLink(ClassifierContext& context, const std::string& mailPath,
                                           std::size_t bufferSize)
{
    const std::string& url = context.settings.URL;
    return FindHeaderLineWhere(mailPath, kLinkHeader, bufferSize,
                               [&url](const std::string& link) { return IsTrustedLink(link, url); });
}

int32_t ReadMessageNumber(ClassifierContext& context, const std::string& mailPath)
{
    const std::optional<std::string> link = FindTrustedLink(context, mailPath, kHeaderBufferSize);
    if (!link) {
        return -1;
    }
    LearnClassifierAddress(context, *link);
    return ViewNumberFromLink(*link).value_or(-1);
}

void FetchBuckets(ClassifierContext& context, bool force)
{
    const std::string& url = context.settings.URL;
    ClassifierSession& session = context.session;
    if (url.empty()) {
        return;
    }
    if (!session.buckets.empty()) {
        if (!force) {
            return;
        }
        session.buckets.clear();
    }
    std::string page;
    if (context.http.FetchPage(url + kBucketPage, page) <= 0 || page.empty()) {
        return;
    }
    const std::optional<SessionKeyMatch> found = FindSessionKey(page);
    if (!found) {
        return;
    }
    session.sessionKey = found->key;
    session.buckets = FindBucketNames(page, found->markerPosition);
    std::string key = found->key;
    DeliverPendingCorrections(context, &key);
}

const std::vector<std::string>& GetBucketList(ClassifierContext& context)
{
    FetchBuckets(context, false);
    return context.session.buckets;
}

const std::string& FetchSessionKey(ClassifierContext& context, const std::string& base)
{
    std::string& sessionKey = context.session.sessionKey;
    sessionKey.clear();
    if (base.empty()) {
        return sessionKey;
    }
    std::string page;
    if (context.http.FetchPage(base, page) > 0 && !page.empty()) {
        if (const std::optional<SessionKeyMatch> found = FindSessionKey(page)) {
            sessionKey = found->key;
        }
    }
    return sessionKey;
}

std::string CorrectionFormBody(const std::string& sessionKey, int32_t messageNumber,
                               const std::string& bucket)
{
    // The change button's caption in the classifier's EUC-JP form, as a browser sends it.
    return "search=&sort=-inserted&session=" + sessionKey +
           "&negate=&start_message=0&filter=&reclassify_" + std::to_string(messageNumber) + "=" +
           bucket + "&change=%BA%C6%CA%AC%CE%E0";
}

namespace {

// One post of the notice with key; the answer is left in answer.
NoticeOutcome PostNotice(ClassifierContext& context, const std::string& key, int32_t messageNumber,
                         const std::string& bucket, std::string& answer)
{
    answer = CorrectionFormBody(key, messageNumber, bucket);
    const int read = context.http.PostForm(context.settings.URL + kHistoryPage, true, answer);
    if (read == kRequestGivenUp) {
        return NoticeOutcome::Ambiguous;
    }
    if (read < 0 || IsSessionExpiredPage(answer) || IsPasswordPage(answer)) {
        return NoticeOutcome::NotDelivered;
    }
    return NoticeOutcome::Delivered;
}

}  // namespace

NoticeOutcome PostCorrection(ClassifierContext& context, int32_t messageNumber,
                             const std::string& bucket, std::string* runKey)
{
    std::string key = runKey != nullptr ? *runKey : std::string();
    if (key.empty()) {
        key = FetchSessionKey(context, context.settings.URL);
    }
    if (key.empty()) {
        return NoticeOutcome::NotDelivered;
    }
    std::string answer;
    NoticeOutcome outcome = PostNotice(context, key, messageNumber, bucket, answer);
    if (outcome == NoticeOutcome::NotDelivered && IsSessionExpiredPage(answer)) {
        key = FetchSessionKey(context, context.settings.URL);
        if (key.empty()) {
            return NoticeOutcome::NotDelivered;
        }
        outcome = PostNotice(context, key, messageNumber, bucket, answer);
    }
    if (runKey != nullptr) {
        const std::optional<SessionKeyMatch> shown = FindSessionKey(answer);
        *runKey = shown && !IsSessionExpiredPage(answer) ? shown->key : std::string();
    }
    return outcome;
}

namespace {

PendingCorrectionList LoadPending(ClassifierContext& context)
{
    return LoadPendingCorrections(context.platform.profile, pluginIniPath(context.platform.files),
                                  context.today());
}

void SavePending(ClassifierContext& context, const PendingCorrectionList& list)
{
    SavePendingCorrections(list, context.platform.profile, pluginIniPath(context.platform.files));
}

// Sends pending, oldest first; saves what is left when anything was sent.
void DeliverPending(ClassifierContext& context, PendingCorrectionList& pending, std::string* runKey)
{
    std::string ownKey;
    std::string* key = runKey != nullptr ? runKey : &ownKey;
    std::size_t sent = 0;
    while (sent < pending.size()) {
        const PendingCorrection& next = pending[sent];
        if (PostCorrection(context, next.messageNumber, next.bucket, key) ==
            NoticeOutcome::NotDelivered) {
            break;
        }
        ++sent;
    }
    if (sent > 0) {
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(sent));
        SavePending(context, pending);
    }
}

}  // namespace

void RecordNoticeOutcome(ClassifierContext& context, int32_t messageNumber,
                         const std::string& bucket, NoticeOutcome outcome, std::string* runKey)
{
    PendingCorrectionList pending = LoadPending(context);
    if (outcome == NoticeOutcome::NotDelivered) {
        PendingCorrection kept;
        kept.messageNumber = messageNumber;
        kept.bucket = bucket;
        KeepPendingCorrection(pending, std::move(kept), context.today());
        SavePending(context, pending);
        return;
    }
    if (ForgetPendingCorrection(pending, messageNumber)) {
        SavePending(context, pending);
    }
    if (outcome == NoticeOutcome::Delivered) {
        DeliverPending(context, pending, runKey);
    }
}

void DeliverPendingCorrections(ClassifierContext& context, std::string* runKey)
{
    PendingCorrectionList pending = LoadPending(context);
    DeliverPending(context, pending, runKey);
}

std::size_t CountPendingCorrections(ClassifierContext& context)
{
    return LoadPending(context).size();
}
