#include "ui/sort_rule_editing.h"

#include "base/sjis.h"

namespace {
constexpr const char* kBucketMissing = "分類が入力されていません";
constexpr const char* kFolderMissing = "移動先フォルダが入力されていません";
constexpr const char* kBucketTaken = "分類が重複しています";

bool BucketTakenByAnother(const std::string& bucket, const SortRuleList& rules,
                          int32_t editedIndex)
{
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (static_cast<int32_t>(i) != editedIndex && EqualsNoCase(rules[i].bucket, bucket)) {
            return true;
        }
    }
    return false;
}
}  // namespace

void ClearSortRuleFormForAdd(SortRuleForm& form)
{
    form.bucket.clear();
    form.folder.clear();
}

void FillSortRuleForm(SortRuleForm& form, const SortRule& rule)
{
    form.bucket = rule.bucket;
    form.folder = rule.folder;
    form.action = rule.action;
    form.deleteFromServer = rule.deleteFromServer;
    form.duplicateThenHostDeletes = rule.duplicateThenHostDeletes;
    form.mark = rule.mark;
}

void ApplySortRuleForm(const SortRuleForm& form, SortRule& rule)
{
    rule.bucket = form.bucket;
    rule.folder = form.folder;
    rule.action = form.action;
    rule.deleteFromServer = form.deleteFromServer;
    rule.duplicateThenHostDeletes = form.duplicateThenHostDeletes;
    rule.mark = form.mark;
}

std::string ValidateSortRuleForm(const SortRuleForm& form, const SortRuleList& rules,
                                 int32_t editedIndex)
{
    std::vector<std::string> failures;
    if (form.bucket.empty()) {
        failures.emplace_back(kBucketMissing);
    }
    if (form.folder.empty()) {
        failures.emplace_back(kFolderMissing);
    }
    if (BucketTakenByAnother(form.bucket, rules, editedIndex)) {
        failures.emplace_back(kBucketTaken);
    }
    return JoinMessages(failures);
}

std::string SortRuleDeleteQuestion(const SortRule& rule)
{
    return DeleteQuestion(rule.bucket);
}

std::vector<std::string> FolderChoices(const FolderCatalogue& catalogue)
{
    std::vector<std::string> choices = {kTrashDisplayPath, kInboxDisplayPath, kOutboxDisplayPath};
    for (const FolderEntry& entry : catalogue.entries) {
        choices.push_back(entry.displayPath);
    }
    return choices;
}

std::vector<std::string> SortRuleRow(const SortRule& rule)
{
    return {rule.bucket, rule.folder};
}
