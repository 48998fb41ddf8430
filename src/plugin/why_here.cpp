#include "plugin/why_here.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "base/sjis.h"
#include "classifier/classifier_pages.h"
#include "config/rule_store.h"
#include "mail/classification.h"
#include "mail/mail_text.h"
#include "mailbox/folder_catalogue.h"
#include "mailbox/mailbox.h"
#include "plugin/plugin_state.h"
#include "ui/sort_rule_editing.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "「" + text + "」";
}

std::string YesNo(bool yes)
{
    return yes ? "する" : "しない";
}

// What gave the bucket.
std::string DecisionLine(const HeaderRuleList& rules, const Classification& classification)
{
    if (classification.headerRule >= 0) {
        const HeaderRule& rule = rules[static_cast<std::size_t>(classification.headerRule)];
        return "ヘッダ規則 " + std::to_string(classification.headerRule + 1) + " (ヘッダ" +
               Quoted(rule.header) + "、検索" + Quoted(rule.search) + ") に一致しました";
    }
    if (classification.bucket) {
        return "X-Text-Classification: の行で分類されました";
    }
    return "ヘッダ規則にも X-Text-Classification: の行にも当てはまりません";
}

// Read as the dialogs show them: an action or mark the lists do not offer shows its number.
template <std::size_t N>
std::string Label(const char* const (&labels)[N], int32_t value)
{
    return value >= 0 && static_cast<std::size_t>(value) < N ? labels[value] : std::to_string(value);
}

std::string RuleLine(const SortRule& rule)
{
    return "振り分け規則: フォルダ" + Quoted(rule.folder) + "、" +
           Label(kSortActionLabels, rule.action) + "、" + Label(kMarkLabels, rule.mark) +
           "、サーバーから削除" + YesNo(rule.deleteFromServer) +
           "、複製してCorvaneにオリジナルを削除させる" + YesNo(rule.duplicateThenHostDeletes);
}

// A rule whose bucket differs from bucket in letter case only, or null.
const SortRule* RuleDifferingInCase(const SortRuleList& rules, const std::string& bucket)
{
    const auto found = std::find_if(rules.begin(), rules.end(), [&bucket](const SortRule& rule) {
        return rule.bucket != bucket && EqualsNoCase(rule.bucket, bucket);
    });
    return found != rules.end() ? &*found : nullptr;
}

bool FolderExists(const FolderCatalogue& catalogue, const std::string& folder)
{
    if (folder == kInboxDisplayPath || folder == kOutboxDisplayPath || folder == kTrashDisplayPath) {
        return true;
    }
    return std::any_of(catalogue.entries.begin(), catalogue.entries.end(),
                       [&folder](const FolderEntry& entry) { return entry.displayPath == folder; });
}

void ExplainRule(std::vector<std::string>& lines, const PluginState& state, ProfileStore& profile,
                 const FolderCatalogue& accountFolders, const std::string& mailPath,
                 const std::string& bucket)
{
    const SortRule* rule = FindSortRule(state.sortRules, bucket);
    if (rule == nullptr) {
        lines.push_back("分類" + Quoted(bucket) + "の振り分け規則はありません。メールは郵便受けに残ります");
        if (const SortRule* near = RuleDifferingInCase(state.sortRules, bucket)) {
            lines.push_back("大文字と小文字だけが違う分類" + Quoted(near->bucket) +
                            "の規則があります。分類名は大文字と小文字も区別されます");
        }
        return;
    }
    lines.push_back(RuleLine(*rule));
    const std::string destination =
        FolderDestination(ReadAccountTitle(state.host, profile, mailPath), rule->folder);
    if (rule->folder == kInboxDisplayPath && !rule->duplicateThenHostDeletes) {
        lines.push_back("振り分け先: " + destination + " (郵便受けに残ります)");
        return;
    }
    lines.push_back("振り分け先: " + destination);
    lines.push_back(FolderExists(accountFolders, rule->folder)
                        ? "フォルダ" + Quoted(rule->folder) + "はこのアカウントにあります"
                        : "フォルダ" + Quoted(rule->folder) +
                              "はこのアカウントにありません。フォルダを作るか、振り分け規則を直してください");
}

void ExplainLink(std::vector<std::string>& lines, const std::string& url, const std::string& mailPath)
{
    std::vector<HeaderLineQuery> queries = {
        {kLinkHeader, [&url](const std::string& link) { return IsTrustedLink(link, url); }, std::nullopt},
        {kLinkHeader, [](const std::string&) { return true; }, std::nullopt}};
    FindHeaderLines(mailPath, kHeaderBufferSize, queries);
    const std::optional<std::string>& trusted = queries[0].value;
    const std::optional<std::string>& first = queries[1].value;
    if (trusted) {
        lines.push_back("X-POPFile-Link: " + *trusted + " (信頼できるリンクです)");
    } else if (first) {
        lines.push_back("X-POPFile-Link: " + *first +
                        " (信頼できないリンクです。このコンピュータのアドレスでも URL で始まるアドレスでもありません)");
    } else {
        lines.push_back("X-POPFile-Link: の行がありません");
    }
    const int32_t number = trusted ? ViewNumberFromLink(*trusted).value_or(0) : 0;
    lines.push_back(number > 0 ? "POPFileの番号: " + std::to_string(number)
                               : "POPFileの番号がありません。訂正してもPOPFileには伝わりません");
}

}  // namespace

std::vector<std::string> ExplainFiling(const PluginState& state, ProfileStore& profile,
                                       const FolderCatalogue& accountFolders,
                                       const std::string& mailPath)
{
    std::vector<std::string> lines;
    const Classification classification = ClassifyMailExplained(mailPath, state.headerRules);
    lines.push_back(DecisionLine(state.headerRules, classification));
    if (classification.bucket) {
        lines.push_back("分類: " + *classification.bucket);
        ExplainRule(lines, state, profile, accountFolders, mailPath, *classification.bucket);
    } else {
        lines.push_back("分類: なし。メールは郵便受けに残ります");
    }
    ExplainLink(lines, state.settings.URL, mailPath);
    return lines;
}
