#include "classifier/reclassify.h"

#include <string_view>

#include "classifier/classifier_pages.h"
#include "classifier/http_client.h"
#include "config/rule_store.h"
#include "config/settings_store.h"
#include "core/file_system.h"
#include "core/platform.h"
#include "core/plugin.h"
#include "core/plugin_state.h"
#include "mail/mail_text.h"
#include "mail/receive_filter.h"

namespace {
constexpr std::string_view kLinkHeader = "X-POPFile-Link:";
constexpr std::string_view kSubjectHeader = "Subject:";
constexpr std::string_view kUnclassifiedPrefix = "[unclassified]";
constexpr const char* kBucketPage = "buckets";
constexpr const char* kHistoryPage = "history";
constexpr const char* kInboxFolder = "郵便受け";
constexpr const char* kMailExtension = ".CRV";
constexpr const char* kTempSuffix = "TMP";
// ReadMailLine with a 1023-byte buffer keeps at most 1022 bytes of a line per read.
constexpr std::size_t kRewriteLineBufferSize = 1023;
// The mark value that clears a message's mark.
constexpr int kClearMark = 7;

std::string MailboxRoot(const HostApi& host)
{
    const char* root = host.APAGetMailbox();
    return root != nullptr ? root : "";
}

std::optional<std::string> BucketAt(const ReclassifyState& reclassify, intptr_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= reclassify.buckets.size()) {
        return std::nullopt;
    }
    return reclassify.buckets[static_cast<std::size_t>(index)];
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && HasPrefixNoCase(a, b);
}

// Beside the message file, differing only in its last three characters. Nothing when no
// such distinct name exists (a name that already ends in "TMP" would overwrite itself).
std::optional<std::string> RewriteTempPath(const std::string& mailPath)
{
    const std::size_t suffixLength = std::string_view(kTempSuffix).size();
    if (mailPath.size() <= suffixLength) {
        return std::nullopt;
    }
    std::string temp = mailPath.substr(0, mailPath.size() - suffixLength) + kTempSuffix;
    if (EqualsNoCase(temp, mailPath)) {
        return std::nullopt;
    }
    return temp;
}

// Removes "[unclassified]" and the blanks after it from the start of a Subject value.
// Returns whether the line changed.
bool RemoveUnclassifiedPrefix(std::string& subjectLine)
{
    const std::size_t valueStart =
        kSubjectHeader.size() + SkipBlanks(std::string_view(subjectLine).substr(kSubjectHeader.size()));
    if (std::string_view(subjectLine).substr(valueStart, kUnclassifiedPrefix.size()) !=
        kUnclassifiedPrefix) {
        return false;
    }
    const std::size_t prefixEnd = valueStart + kUnclassifiedPrefix.size();
    const std::size_t restStart =
        prefixEnd + SkipBlanks(std::string_view(subjectLine).substr(prefixEnd));
    subjectLine.erase(valueStart, restStart - valueStart);
    return true;
}

// Copies a mail file into a new file with the classification header replaced; every line
// end of the new file is CR LF.
class ClassificationRewriter {
public:
    ClassificationRewriter(MailStream& in, MailWriteStream& out, std::string bucket,
                           bool editSubject)
        : in_(in), out_(out), bucket_(std::move(bucket)), editSubject_(editSubject)
    {
    }

    void run()
    {
        std::string line;
        bool previousWasSubject = false;
        while (ok_ && ReadMailLine(in_, line, kRewriteLineBufferSize)) {
            const bool wholeLine = line.back() == '\n';
            if (line == "\n") {
                if (previousWasSubject) {
                    // The header scans skip this line too; it goes for good here.
                    previousWasSubject = false;
                    continue;
                }
                write(line);
                copyRest();
                return;
            }
            if (std::string_view(line).substr(0, kClassificationHeader.size()) ==
                kClassificationHeader) {
                write(std::string(kClassificationHeader) + " " + bucket_ + "\n");
                if (!wholeLine) {
                    skipRestOfLine();
                }
                copyRest();
                rewritten_ = true;
                return;
            }
            previousWasSubject = HasPrefixNoCase(line, kSubjectHeader);
            if (previousWasSubject && editSubject_ && RemoveUnclassifiedPrefix(line)) {
                subjectEdited_ = true;
            }
            write(line);
            if (!wholeLine) {
                copyRestOfLine();
            }
        }
    }

    // The header was found, the whole input read and every byte written (the output still
    // needs closing). A read error looks like the end of the file to the copy, so without
    // the check a message cut short would replace the whole one.
    bool rewritten() const { return rewritten_ && ok_ && !in_.failed(); }
    bool subjectEdited() const { return subjectEdited_; }

private:
    void write(std::string_view text)
    {
        if (ok_ && WriteMailString(text, out_) < 0) {
            ok_ = false;
        }
    }

    void writeByte(int byte)
    {
        if (ok_ && WriteMailChar(byte, out_) < 0) {
            ok_ = false;
        }
    }

    void copyRestOfLine()
    {
        int byte;
        while (ok_ && (byte = ReadMailChar(in_)) != -1) {
            writeByte(byte);
            if (byte == '\n') {
                break;
            }
        }
    }

    // The rest of a replaced header line that did not fit the read buffer: dropped, so
    // that it does not turn into a line of its own.
    void skipRestOfLine()
    {
        int byte;
        while ((byte = ReadMailChar(in_)) != -1 && byte != '\n') {
        }
    }

    void copyRest()
    {
        int byte;
        while (ok_ && (byte = ReadMailChar(in_)) != -1) {
            writeByte(byte);
        }
    }

    MailStream& in_;
    MailWriteStream& out_;
    const std::string bucket_;
    const bool editSubject_;
    bool ok_ = true;
    bool rewritten_ = false;
    bool subjectEdited_ = false;
};

// Writes the rewritten message beside the original and puts it in the original's place.
// Returns whether the Subject edit was kept; on any failure the original stays untouched
// and the temporary file is removed.
bool ReplaceWithRewrittenMail(FileSystem& files, const std::string& mailPath,
                              const std::string& bucket, bool editSubject)
{
    const std::optional<std::string> tempPath = RewriteTempPath(mailPath);
    if (!tempPath) {
        return false;
    }
    MailStream in(mailPath);
    if (!in.isOpen()) {
        return false;
    }
    MailWriteStream out(*tempPath);
    if (!out.isOpen()) {
        return false;
    }
    ClassificationRewriter rewriter(in, out, bucket, editSubject);
    rewriter.run();
    const bool complete = rewriter.rewritten();  // asks the input stream, so before closing it
    in.close();
    const bool written = out.close() && complete;
    if (written && files.replaceFile(*tempPath, mailPath)) {
        return rewriter.subjectEdited();
    }
    files.deleteFile(*tempPath);
    return false;
}

// The host's reference of a message file; nothing when the file does not lie below the
// mailbox root, where cutting the root's length off would name some other message.
std::optional<std::string> ReferenceBelowMailbox(const std::string& mailPath,
                                                 const std::string& mailboxRoot)
{
    if (mailPath.size() <= mailboxRoot.size() || !HasPrefixNoCase(mailPath, mailboxRoot)) {
        return std::nullopt;
    }
    return MailReference(mailboxRoot.size(), mailPath);
}

void MarkWithBucketRule(const PluginState& state, const std::string& mailPath,
                        const std::string& bucket)
{
    const std::optional<std::string> reference = ReferenceBelowMailbox(mailPath, MailboxRoot(state.host));
    if (!reference) {
        return;
    }
    state.host.APAMarkMail(reference->c_str(), kClearMark, 0);
    const SortRule* rule = FindSortRule(state.sortRules, bucket);
    if (rule != nullptr && rule->mark > 0) {
        state.host.APAMarkMail(reference->c_str(), rule->mark, 1);
    }
}
}  // namespace

void ResetReclassifyState(ReclassifyState& state)
{
    state.buckets.clear();
    state.sessionKey.clear();
    state.currentMailPath.clear();
    state.currentClassification.clear();
}

std::optional<std::string> MailPathForWindow(ClassifierContext& context, HostWindow window,
                                             int32_t mode)
{
    const HostApi& host = context.state.host;
    std::string path;
    if (mode == kCorrectViewedMail) {
        const char* viewed = host.APAViewGetPath(window);
        if (viewed == nullptr) {
            return std::nullopt;
        }
        path = viewed;
    } else {
        const char* entry = host.APAFolderGetCurrentEntry(window);
        if (entry == nullptr) {
            return std::nullopt;
        }
        path = MailboxRoot(host) + entry + kMailExtension;
    }
    context.state.reclassify.currentMailPath = path;
    return path;
}

std::optional<std::string> ReadCurrentClassification(ClassifierContext& context,
                                                     const std::string& mailPath)
{
    std::optional<std::string> value =
        FindHeaderLine(mailPath, kClassificationHeader, kHeaderBufferSize);
    if (value) {
        context.state.reclassify.currentClassification = *value;
    }
    return value;
}

std::optional<std::string> CurrentClassificationForWindow(ClassifierContext& context,
                                                          HostWindow window, int32_t mode)
{
    const std::optional<std::string> path = MailPathForWindow(context, window, mode);
    if (!path) {
        return std::nullopt;
    }
    return ReadCurrentClassification(context, *path);
}

std::optional<std::string> LearnClassifierAddress(ClassifierContext& context,
                                                  const std::string& link)
{
    const std::string& url = context.state.settings.URL;
    if (!IsTrustedLink(link, url)) {
        return std::nullopt;
    }
    std::optional<std::string> base = ClassifierBaseFromLink(link);
    if (!base || !IsClassifierAddress(*base) || !IsTrustedLink(*base, url)) {
        return std::nullopt;
    }
    if (context.state.settings.URL.empty()) {
        writeLearnedUrl(context.state.settings, *base, context.platform.profile,
                        context.platform.files);
    }
    return base;
}

std::optional<std::string> FindTrustedLink(ClassifierContext& context, const std::string& mailPath,
                                           std::size_t bufferSize)
{
    const std::string& url = context.state.settings.URL;
    return FindHeaderLineWhere(mailPath, kLinkHeader, bufferSize,
                               [&url](const std::string& link) { return IsTrustedLink(link, url); });
}

std::optional<std::string> RememberClassifierAddress(ClassifierContext& context,
                                                     const std::string& mailPath)
{
    const std::optional<std::string> link = FindTrustedLink(context, mailPath, kHeaderBufferSize);
    if (!link) {
        return std::nullopt;
    }
    return LearnClassifierAddress(context, *link);
}

void FetchBuckets(ClassifierContext& context, bool force)
{
    const std::string& url = context.state.settings.URL;
    ReclassifyState& reclassify = context.state.reclassify;
    if (url.empty()) {
        return;
    }
    if (!reclassify.buckets.empty()) {
        if (!force) {
            return;
        }
        reclassify.buckets.clear();
    }
    std::string page;
    if (context.http.FetchPage(url + kBucketPage, page) <= 0 || page.empty()) {
        return;
    }
    const std::optional<SessionKeyMatch> session = FindSessionKey(page);
    if (!session) {
        return;
    }
    reclassify.sessionKey = session->key;
    reclassify.buckets = FindBucketNames(page, session->markerPosition);
}

const std::vector<std::string>& GetBucketList(ClassifierContext& context)
{
    FetchBuckets(context, false);
    return context.state.reclassify.buckets;
}

const std::string& FetchSessionKey(ClassifierContext& context, const std::string& base)
{
    std::string& sessionKey = context.state.reclassify.sessionKey;
    sessionKey.clear();
    if (base.empty()) {
        return sessionKey;
    }
    std::string page;
    if (context.http.FetchPage(base, page) > 0 && !page.empty()) {
        if (const std::optional<SessionKeyMatch> session = FindSessionKey(page)) {
            sessionKey = session->key;
        }
    }
    return sessionKey;
}

void ReclassifyCommand(ClassifierContext& context, HostWindow window, intptr_t bucketIndex)
{
    const ReclassifyState& reclassify = context.state.reclassify;
    if (!BucketAt(reclassify, bucketIndex)) {
        return;
    }
    if (reclassify.correctionMode == kCorrectSeveralInFolder) {
        if (context.selectedMails != nullptr) {
            context.selectedMails->correctSelectedMails(context, window, bucketIndex);
        }
        return;
    }
    CorrectMail(context, reclassify.currentMailPath, bucketIndex);
}

void RefetchBucketsCommand(ClassifierContext& context)
{
    FetchBuckets(context, true);
}

void CorrectMail(ClassifierContext& context, const std::string& mailPath, intptr_t bucketIndex)
{
    if (!BucketAt(context.state.reclassify, bucketIndex)) {
        return;
    }
    const std::string path = mailPath;
    context.state.reclassify.currentMailPath = path;
    if (ReadMessageNumber(context, path) > 0) {
        PostCorrection(context, bucketIndex);
    }
    const bool subjectEdited = RewriteClassification(context, bucketIndex);
    RefileCorrectedMail(context, path, subjectEdited);
}

int32_t ReadMessageNumber(ClassifierContext& context, const std::string& mailPath)
{
    const std::optional<std::string> link = FindTrustedLink(context, mailPath, kHeaderBufferSize);
    if (!link) {
        return -1;
    }
    LearnClassifierAddress(context, *link);
    const std::optional<int32_t> number = ViewNumberFromLink(*link);
    if (!number) {
        return -1;
    }
    context.state.reclassify.messageNumber = *number;
    return *number;
}

std::string CorrectionFormBody(const std::string& sessionKey, int32_t messageNumber,
                               const std::string& bucket)
{
    // The change button's caption in the classifier's EUC-JP form, as a browser sends it.
    return "search=&sort=-inserted&session=" + sessionKey +
           "&negate=&start_message=0&filter=&reclassify_" + std::to_string(messageNumber) + "=" +
           bucket + "&change=%BA%C6%CA%AC%CE%E0";
}

void PostCorrection(ClassifierContext& context, intptr_t bucketIndex)
{
    const std::optional<std::string> bucket = BucketAt(context.state.reclassify, bucketIndex);
    if (!bucket) {
        return;
    }
    const std::string& url = context.state.settings.URL;
    const std::string& sessionKey = FetchSessionKey(context, url);
    if (sessionKey.empty()) {
        return;
    }
    std::string body =
        CorrectionFormBody(sessionKey, context.state.reclassify.messageNumber, *bucket);
    context.http.PostForm(url + kHistoryPage, false, body);
}

bool RewriteClassification(ClassifierContext& context, intptr_t bucketIndex)
{
    const std::string mailPath = context.state.reclassify.currentMailPath;
    const std::optional<std::string> bucket = BucketAt(context.state.reclassify, bucketIndex);
    if (mailPath.empty() || !bucket) {
        return false;
    }
    const bool subjectEdited = ReplaceWithRewrittenMail(
        context.platform.files, mailPath, *bucket, context.state.settings.SubjectEdit != 0);
    MarkWithBucketRule(context.state, mailPath, *bucket);
    return subjectEdited;
}

void RefileCorrectedMail(ClassifierContext& context, const std::string& mailPath,
                         bool subjectEdited)
{
    const PluginState& state = context.state;
    const std::optional<std::string> bucket =
        FindHeaderLine(mailPath, kClassificationHeader, kBucketBufferSize);
    if (!bucket) {
        return;
    }
    const std::string mailboxRoot = MailboxRoot(state.host);
    const std::optional<std::string> reference = ReferenceBelowMailbox(mailPath, mailboxRoot);
    if (!reference) {
        return;
    }
    const SortRule* rule = FindSortRule(state.sortRules, *bucket);
    const std::string folder = rule != nullptr ? rule->folder : kInboxFolder;
    const std::string destination =
        ReadAccountTitle(state.host, context.platform.profile, mailPath) + "\\" + folder;
    if (subjectEdited) {
        copyMailToFolder(state.host, context.platform.files, *reference, destination, true);
    } else {
        state.host.APAMoveMail(reference->c_str(), destination.c_str());
    }
}
