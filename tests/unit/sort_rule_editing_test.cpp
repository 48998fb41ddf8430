#include "ui/sort_rule_editing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

SortRule Rule(const std::string& bucket, const std::string& folder)
{
    SortRule rule;
    rule.bucket = bucket;
    rule.folder = folder;
    return rule;
}

SortRuleForm Form(const std::string& bucket, const std::string& folder)
{
    SortRuleForm form;
    form.bucket = bucket;
    form.folder = folder;
    return form;
}

const SortRuleList kRules = {Rule("spam", "ごみ箱"), Rule("work", "仕事"), Rule("ア", "a")};

struct ValidationCase {
    const char* what;
    SortRuleForm form;
    int32_t editedIndex;
    std::string expected;
};

TEST(SortRuleFormTest, ChecksGiveTheirMessagesInOrderOnePerLine)
{
    const std::vector<ValidationCase> cases = {
        {"valid new rule", Form("news", "趣味"), -1, ""},
        {"both empty", Form("", ""), -1,
         "分類が入力されていません\n移動先フォルダが入力されていません"},
        {"folder empty", Form("news", ""), -1, "移動先フォルダが入力されていません"},
        {"added bucket differs in letter case only", Form("SPAM", "x"), -1, "分類が重複しています"},
        {"folder empty and duplicate", Form("Work", ""), -1,
         "移動先フォルダが入力されていません\n分類が重複しています"},
        {"adding compares the selected rule too", Form("spam", "x"), -1, "分類が重複しています"},
        {"edited rule keeps its bucket", Form("spam", "x"), 0, ""},
        {"edited rule takes another's bucket", Form("spaM", "x"), 1, "分類が重複しています"},
        // ア is 83 41, ヂ is 83 61: their second bytes differ only as ASCII letters would.
        {"second bytes compare exactly", Form("ヂ", "x"), -1, ""},
        {"same double-byte bucket", Form("ア", "x"), -1, "分類が重複しています"},
        {"stale index compares every rule", Form("work", "x"), 7, "分類が重複しています"},
    };
    for (const ValidationCase& c : cases) {
        EXPECT_EQ(ValidateSortRuleForm(c.form, kRules, c.editedIndex), c.expected) << c.what;
    }
}

TEST(SortRuleFormTest, AddClearsOnlyBucketAndFolder)
{
    SortRule edited = Rule("work", "仕事");
    edited.action = kActionShowMessage;
    edited.mark = 1;
    edited.deleteFromServer = true;
    edited.duplicateThenHostDeletes = true;
    SortRuleForm form;
    FillSortRuleForm(form, edited);

    ClearSortRuleFormForAdd(form);
    EXPECT_EQ(form.bucket, "");
    EXPECT_EQ(form.folder, "");
    EXPECT_EQ(form.action, kActionShowMessage);
    EXPECT_EQ(form.mark, 1);
    EXPECT_TRUE(form.deleteFromServer);
    EXPECT_TRUE(form.duplicateThenHostDeletes);
}

TEST(SortRuleFormTest, ApplyingTheFormLeavesTheOtherFieldsAlone)
{
    SortRule rule = Rule("work", "仕事");
    rule.position = 4;
    rule.summaryCount = 2;
    rule.summaryText = "lines";
    SortRuleForm form = Form("news", "趣味\\ニュース");
    form.action = kActionNothing;
    form.mark = 7;
    form.duplicateThenHostDeletes = true;

    ApplySortRuleForm(form, rule);
    EXPECT_EQ(rule.bucket, "news");
    EXPECT_EQ(rule.folder, "趣味\\ニュース");
    EXPECT_EQ(rule.action, kActionNothing);
    EXPECT_EQ(rule.mark, 7);
    EXPECT_FALSE(rule.deleteFromServer);
    EXPECT_TRUE(rule.duplicateThenHostDeletes);
    EXPECT_EQ(rule.position, 4);
    EXPECT_EQ(rule.summaryCount, 2);
    EXPECT_EQ(rule.summaryText, "lines");
}

TEST(SortRuleDialogTextsTest, FolderChoicesStartWithTheBuiltInFolders)
{
    FolderCatalogue catalogue;
    catalogue.entries = {{"仕事"}, {"趣味\\旅行"}};
    EXPECT_EQ(FolderChoices(catalogue),
              (std::vector<std::string>{"ごみ箱", "郵便受け", "送信箱", "仕事", "趣味\\旅行"}));
    EXPECT_EQ(FolderChoices(FolderCatalogue{}),
              (std::vector<std::string>{"ごみ箱", "郵便受け", "送信箱"}));
}

}  // namespace
