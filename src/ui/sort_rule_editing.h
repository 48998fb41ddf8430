// The decisions behind the sorting-rule dialogs: the form the edit dialog shows and reads
// back, its checks, the lists it offers, and what the list dialog shows and asks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/rules.h"
#include "mailbox/folder_catalogue.h"
#include "ui/rule_editing.h"
#include "ui/working_list.h"

// The six rule fields the edit dialog shows. It lives as long as the plug-in: "追加" clears
// only bucket and folder, so a new rule starts with the action, mark and flags last used.
struct SortRuleForm {
    std::string bucket;
    std::string folder;
    int32_t action = 0;  // index into kSortActionLabels
    int32_t mark = 0;    // index into kMarkLabels
    bool deleteFromServer = false;
    bool duplicateThenHostDeletes = false;
};

using SortRuleWorkingList = WorkingList<SortRule>;

// The action list's items, by stored value.
inline constexpr const char* kSortActionLabels[] = {
    "アイコンを変更する(自動チェック時)", "メッセージを表示する", "何もしない"};
// The mark list's items, by stored value; item n above 0 shows image n - 1.
inline constexpr const char* kMarkLabels[] = {"マークを付けない", "赤色", "黄色", "緑色",
                                              "水色",             "青色", "紫色", "灰色"};

// "追加": empties bucket and folder, keeps the rest.
void ClearSortRuleFormForAdd(SortRuleForm& form);
// "編集": the rule's six fields into the form.
void FillSortRuleForm(SortRuleForm& form, const SortRule& rule);
// The form's six fields into rule; its other fields stay as they are.
void ApplySortRuleForm(const SortRuleForm& form, SortRule& rule);

// The edit dialog's checks on OK, their messages joined in order (empty bucket, empty
// folder, a bucket that another rule of rules already has). editedIndex is the rule being
// edited, which is not compared with itself, or -1 while a rule is being added. Empty when
// every check passed.
std::string ValidateSortRuleForm(const SortRuleForm& form, const SortRuleList& rules,
                                 int32_t editedIndex);

// The question before the rule is deleted.
std::string SortRuleDeleteQuestion(const SortRule& rule);

// The folder combo's items: "ごみ箱", "郵便受け", "送信箱", then the catalogue's folders.
std::vector<std::string> FolderChoices(const FolderCatalogue& catalogue);

// The list dialog's row for a rule: bucket, folder.
std::vector<std::string> SortRuleRow(const SortRule& rule);
