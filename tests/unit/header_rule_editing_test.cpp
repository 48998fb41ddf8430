#include "ui/header_rule_editing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/rule_store.h"

namespace {

HeaderRuleForm Form(const std::string& header, const std::string& search, const std::string& bucket)
{
    HeaderRuleForm form;
    form.header = header;
    form.search = search;
    form.bucket = bucket;
    return form;
}

constexpr const char* kLeadingColon =
    "ヘッダまたは検索文字列がコロン(:)で始まっているため、保存できません";
constexpr const char* kTooLong = "分類、ヘッダ、検索文字列が長すぎるため、保存できません";

TEST(HeaderRuleFormTest, ChecksGiveTheirMessagesInOrderOnePerLine)
{
    struct Case {
        const char* what;
        HeaderRuleForm form;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"valid", Form("X-Spam-Flag:", "YES", "spam"), ""},
        {"header typed without colon", Form("X-Flag", "a:b", "spam"), ""},
        {"colons inside the fields", Form("X:Y:", "a::b:", "sp:am:"), ""},
        {"all empty", Form("", "", ""),
         "ヘッダが入力されていません\n検索文字列が入力されていません\n分類が入力されていません"},
        {"header and bucket empty", Form("", "x", ""),
         "ヘッダが入力されていません\n分類が入力されていません"},
        {"search empty", Form("From:", "", "spam"), "検索文字列が入力されていません"},
        {"search begins with a colon", Form("X-Spam-Flag:", ":YES", "spam"), kLeadingColon},
        {"search begins with a colon, header without", Form("From", ":x", "spam"), kLeadingColon},
        {"header begins with a colon", Form(":From", "x", "spam"), kLeadingColon},
        {"empty checks come first", Form(":From", "", "spam"), "検索文字列が入力されていません"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValidateHeaderRuleForm(c.form), c.expected) << c.what;
    }
}

TEST(HeaderRuleFormTest, RefusesARuleWhoseStoredValueWouldBeCutOnReading)
{
    // "spam:Subject:::" is 15 bytes; values are read back through 511 bytes.
    const HeaderRuleForm fits = Form("Subject:", std::string(495, 's'), "spam");
    const HeaderRuleForm tooLong = Form("Subject:", std::string(496, 's'), "spam");
    EXPECT_EQ(EncodeHeaderRule(HeaderRuleFromForm(fits)).size(), 510u);
    EXPECT_EQ(ValidateHeaderRuleForm(fits), "");
    EXPECT_EQ(ValidateHeaderRuleForm(tooLong), kTooLong);
    EXPECT_EQ(ValidateHeaderRuleForm(Form("Subject:", ":" + std::string(498, 's'), "spam")),
              std::string(kLeadingColon) + "\n" + kTooLong);
}

TEST(HeaderRuleDialogTextsTest, QuestionJoinsHeaderAndSearchWithOneSpace)
{
    HeaderRule rule;
    rule.header = "From:";
    rule.search = "a:b";
    rule.bucket = "spam";
    EXPECT_EQ(HeaderRuleDeleteQuestion(rule), "From: a:b を削除してもよろしいですか？");
    EXPECT_EQ(HeaderRuleRow(rule), (std::vector<std::string>{"From:", "a:b", "spam"}));
}

}  // namespace
