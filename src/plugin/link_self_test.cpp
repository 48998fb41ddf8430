#include "plugin/link_self_test.h"

#include <algorithm>
#include <set>

#include "base/sjis.h"
#include "classifier/classifier_pages.h"
#include "classifier/classifier_session.h"
#include "classifier/http_client.h"
#include "config/rule_store.h"
#include "mailbox/folder_catalogue.h"

namespace {

constexpr const char* kBucketPage = "buckets";
constexpr const char* kLoopbackAddress = "127.0.0.1";
constexpr const char* kLocalHostName = "localhost";
// POPFile's name for mail it could not classify; a rule may name it though no page lists it.
constexpr const char* kUnclassifiedBucket = "unclassified";
constexpr int32_t kLargestPort = 65535;
// The bucket names a fine line lists are cut to this many bytes.
constexpr std::size_t kBucketListBytes = 200;

std::string Seconds(unsigned milliseconds)
{
    return std::to_string(milliseconds / 1000) + "秒";
}

std::string HostAndPort(const std::string& server, int32_t port)
{
    return server + ":" + std::to_string(port);
}

void Fetch(HttpClient& http, const std::string& address, PageFetch& fetch)
{
    fetch.asked = true;
    fetch.result = http.FetchPage(address, fetch.page);
}

bool Answered(const PageFetch& fetch)
{
    return fetch.asked && fetch.result > 0 && !fetch.page.empty();
}

class Report {
public:
    void fine(std::string text) { lines_.push_back({true, std::move(text)}); }
    void problem(std::string text) { lines_.push_back({false, std::move(text)}); }
    std::vector<SelfTestLine> take() { return std::move(lines_); }

private:
    std::vector<SelfTestLine> lines_;
};

void JudgePop3Port(const SelfTestInputs& inputs, const SelfTestFindings& findings, Report& report)
{
    if (!inputs.account) {
        report.problem(
            "今の口座が分からないため、POP3ポートと振り分け先のフォルダは確かめられません。"
            "フォルダウィンドウのツールバーから確かめてください");
        return;
    }
    const std::string& server = inputs.account->server;
    const int32_t port = inputs.account->port;
    if (server.empty() || port <= 0) {
        report.problem(
            "今の口座にPOP3サーバーとポートが設定されていません。"
            "口座の設定でPOPFileのアドレスとPOP3ポートを指定してください");
        return;
    }
    if (port > kLargestPort) {
        report.problem("今の口座のPOP3ポート (" + std::to_string(port) +
                       ") はポート番号になりません。口座の設定を確かめてください");
        return;
    }
    const std::string target = HostAndPort(server, port);
    const int probe = findings.portProbe.value_or(-1);
    if (probe == 0) {
        report.fine("POPFileのPOP3ポート (" + target + ") に接続できます");
    } else if (findings.loopbackProbe == 0) {
        report.problem(target + " には接続できませんが、" + HostAndPort(kLoopbackAddress, port) +
                       " には接続できます。口座のPOP3サーバーを " + kLoopbackAddress +
                       " にしてください");
    } else if (probe == -2) {
        report.problem("POP3サーバー「" + server +
                       "」が見つかりません。口座のPOP3サーバーを確かめてください");
    } else if (probe == kProbeGivenUp) {
        report.problem("POPFileのPOP3ポート (" + target + ") が" + Seconds(kRequestDeadlineMs) +
                       "待っても応答しません。口座のPOP3サーバーとポートを確かめてください");
    } else {
        report.problem(
            "POPFileのPOP3ポート (" + target + ") に接続できません。" +
            "POPFileが起動しているか、口座のPOP3サーバーとポートが正しいか確かめてください");
    }
}

// False when the address cannot be asked for, so that the page checks are left out.
bool JudgeUrl(const std::string& url, Report& report)
{
    if (url.empty()) {
        report.problem("POPFileのURLが設定されていません。その他設定でURLを入力してください");
        return false;
    }
    if (!IsClassifierAddress(url)) {
        report.problem("URL「" + url +
                       "」が http:// で始まっていません。http:// から入力してください");
        return false;
    }
    report.fine("POPFileのURL: " + SelfTestBase(url));
    return true;
}

// The line of a page that gave no usable answer; false when it answered.
bool JudgeNoAnswer(const std::string& name, const std::string& address, const PageFetch& fetch,
                   Report& report)
{
    const std::string page = name + " (" + address + ") ";
    if (fetch.result == kRequestGivenUp) {
        report.problem(page + "が" + Seconds(kRequestDeadlineMs) +
                       "待っても応答しません。POPFileを起動し直してください");
    } else if (fetch.result < 0) {
        report.problem(page +
                       "に接続できません。POPFileが起動しているか、URLが正しいか確かめてください");
    } else if (!Answered(fetch)) {
        report.problem(page + "が何も返しませんでした。URLが正しいか確かめてください");
    } else {
        return false;
    }
    return true;
}

void ReportPasswordPage(Report& report)
{
    report.problem(
        "POPFileのパスワード画面が表示されました。"
        "POPFileの設定でパスワードを外すか、ブラウザでPOPFileにログインしてください");
}

// The start page's lines; false when nothing more can be read from POPFile.
bool JudgeStartPage(const std::string& base, const PageFetch& fetch, Report& report)
{
    if (JudgeNoAnswer("POPFileの画面", base, fetch, report)) {
        return false;
    }
    report.fine("POPFileの画面 (" + base + ") が応答しました");
    if (IsPasswordPage(fetch.page)) {
        ReportPasswordPage(report);
        return false;
    }
    if (FindSessionKey(fetch.page)) {
        report.fine("POPFileのセッションキーが見つかりました");
    } else {
        report.problem(
            "POPFileの画面にセッションキーが見つかりません。"
            "URLがPOPFileの画面を指しているか確かめてください");
    }
    return true;
}

// The buckets the bucket page lists, read as the correction menu reads them: after the session
// link. Nothing when the page gave none.
std::optional<std::vector<std::string>> JudgeBucketPage(const std::string& base,
                                                        const PageFetch& fetch, Report& report)
{
    const std::string address = base + kBucketPage;
    if (!fetch.asked || JudgeNoAnswer("POPFileのバケツ画面", address, fetch, report)) {
        return std::nullopt;
    }
    if (IsPasswordPage(fetch.page)) {
        ReportPasswordPage(report);
        return std::nullopt;
    }
    const std::optional<SessionKeyMatch> session = FindSessionKey(fetch.page);
    std::vector<std::string> buckets;
    if (session) {
        buckets = FindBucketNames(fetch.page, session->markerPosition);
    }
    if (buckets.empty()) {
        report.problem("POPFileのバケツ画面 (" + address +
                       ") にバケツが見つかりません。POPFileでバケツを作ってください");
        return std::nullopt;
    }
    std::string names;
    for (const std::string& bucket : buckets) {
        names += (names.empty() ? "" : ", ") + bucket;
    }
    if (names.size() > kBucketListBytes) {
        names = names.substr(0, CutWithoutSplitting(names, kBucketListBytes)) + "…";
    }
    report.fine("POPFileのバケツ (" + std::to_string(buckets.size()) + " 個): " + names);
    return buckets;
}

void JudgeRuleBuckets(const SortRuleList& rules, const std::vector<std::string>& buckets,
                      Report& report)
{
    bool allFound = true;
    for (const SortRule& rule : rules) {
        if (rule.bucket == kUnclassifiedBucket ||
            std::find(buckets.begin(), buckets.end(), rule.bucket) != buckets.end()) {
            continue;
        }
        allFound = false;
        const std::string missing =
            "振り分け設定のバケツ「" + rule.bucket + "」がPOPFileにありません。";
        const auto differsInCase =
            std::find_if(buckets.begin(), buckets.end(), [&](const std::string& bucket) {
                return EqualsNoCase(bucket, rule.bucket);
            });
        if (differsInCase != buckets.end()) {
            report.problem(missing + "POPFileの「" + *differsInCase +
                           "」とは大文字小文字だけが違います。振り分け設定を「" + *differsInCase +
                           "」に直してください");
        } else {
            report.problem(missing + "POPFileでバケツを作るか、振り分け設定を直してください");
        }
    }
    if (allFound && !rules.empty()) {
        report.fine("振り分け設定のバケツはすべてPOPFileにあります");
    }
}

void JudgeHeaderRuleBuckets(const HeaderRuleList& headerRules, const SortRuleList& sortRules,
                            Report& report)
{
    bool allSorted = true;
    for (const HeaderRule& rule : headerRules) {
        if (FindSortRule(sortRules, rule.bucket) != nullptr) {
            continue;
        }
        allSorted = false;
        report.problem("追加ヘッダ「" + rule.header + " " + rule.search + "」のバケツ「" +
                       rule.bucket +
                       "」に振り分け設定がありません。振り分け設定を追加してください");
    }
    if (allSorted && !headerRules.empty()) {
        report.fine("追加ヘッダのバケツにはすべて振り分け設定があります");
    }
}

void JudgeFolders(const SelfTestInputs& inputs, Report& report)
{
    if (!inputs.account) {
        return;
    }
    std::set<std::string> existing(inputs.folders.begin(), inputs.folders.end());
    existing.insert({kInboxDisplayPath, kOutboxDisplayPath, kTrashDisplayPath});
    std::set<std::string> reported;
    for (const SortRule& rule : inputs.sortRules) {
        if (existing.count(rule.folder) == 0 && reported.insert(rule.folder).second) {
            report.problem(
                "振り分け先のフォルダ「" + rule.folder +
                "」がこの口座にありません。フォルダを作るか、振り分け設定を直してください");
        }
    }
    if (reported.empty() && !inputs.sortRules.empty()) {
        report.fine("振り分け先のフォルダはすべてこの口座にあります");
    }
}

void JudgePending(std::size_t pending, Report& report)
{
    if (pending == 0) {
        report.fine("POPFileに届いていない訂正はありません");
        return;
    }
    report.problem("POPFileに届いていない訂正が " + std::to_string(pending) +
                   " 件あります。POPFileにつながれば、次の訂正か「バケツの再取得」で送られます");
}

}  // namespace

SelfTestInputs GatherSelfTestInputs(const HostApi& host, ProfileStore& profile, HostWindow window,
                                    const std::string& url, const SortRuleList& sortRules,
                                    const HeaderRuleList& headerRules,
                                    ClassifierContext& classifier)
{
    SelfTestInputs inputs;
    inputs.url = url;
    inputs.account = ReadClassifierAccount(host, profile, window);
    FolderCatalogue catalogue;
    BuildFolderCatalogue(catalogue, host, profile, window);
    for (const FolderEntry& entry : catalogue.entries) {
        inputs.folders.push_back(entry.displayPath);
    }
    inputs.sortRules = sortRules;
    inputs.headerRules = headerRules;
    inputs.pendingCorrections = CountPendingCorrections(classifier);
    return inputs;
}

std::string SelfTestBase(const std::string& url)
{
    if (url.empty() || url.back() == '/') {
        return url;
    }
    return url + "/";
}

SelfTestFindings RunSelfTestChecks(const SelfTestInputs& inputs, HttpClient& http,
                                   PortProber& prober)
{
    SelfTestFindings findings;
    if (inputs.account && !inputs.account->server.empty() && inputs.account->port > 0 &&
        inputs.account->port <= kLargestPort) {
        const ClassifierAccount& account = *inputs.account;
        findings.portProbe = prober.ProbeClassifierPort(account.server, account.port);
        if (findings.portProbe != 0 && EqualsNoCase(account.server, kLocalHostName)) {
            findings.loopbackProbe = prober.ProbeClassifierPort(kLoopbackAddress, account.port);
        }
    }
    if (!IsClassifierAddress(inputs.url)) {
        return findings;
    }
    const std::string base = SelfTestBase(inputs.url);
    Fetch(http, base, findings.startPage);
    if (Answered(findings.startPage) && !IsPasswordPage(findings.startPage.page)) {
        Fetch(http, base + kBucketPage, findings.bucketPage);
    }
    return findings;
}

std::vector<SelfTestLine> JudgeSelfTest(const SelfTestInputs& inputs,
                                        const SelfTestFindings& findings)
{
    Report report;
    JudgePop3Port(inputs, findings, report);
    if (JudgeUrl(inputs.url, report)) {
        const std::string base = SelfTestBase(inputs.url);
        if (JudgeStartPage(base, findings.startPage, report)) {
            if (const auto buckets = JudgeBucketPage(base, findings.bucketPage, report)) {
                JudgeRuleBuckets(inputs.sortRules, *buckets, report);
            }
        }
    }
    JudgeHeaderRuleBuckets(inputs.headerRules, inputs.sortRules, report);
    JudgeFolders(inputs, report);
    JudgePending(inputs.pendingCorrections, report);
    return report.take();
}

std::string FormatSelfTestReport(const std::vector<SelfTestLine>& lines)
{
    std::string text;
    for (const SelfTestLine& line : lines) {
        text += line.fine ? kSelfTestFineMark : kSelfTestProblemMark;
        text += line.text;
        text += "\r\n";
    }
    return text;
}
