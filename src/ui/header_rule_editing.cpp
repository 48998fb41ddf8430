#include "ui/header_rule_editing.h"

#include "config/rule_store.h"

namespace {
constexpr const char* kHeaderMissing = "ヘッダが入力されていません";
constexpr const char* kSearchMissing = "検索文字列が入力されていません";
constexpr const char* kBucketMissing = "分類が入力されていません";
// The stored form separates its fields by single colons, so a field that begins with a
// colon would be read back differently.
constexpr const char* kLeadingColon =
    "ヘッダまたは検索文字列がコロン(:)で始まっているため、保存できません";
constexpr const char* kTooLong = "分類、ヘッダ、検索文字列が長すぎるため、保存できません";
}  // namespace

void ClearHeaderRuleForm(HeaderRuleForm& form)
{
    form = HeaderRuleForm{};
}

void FillHeaderRuleForm(HeaderRuleForm& form, const HeaderRule& rule)
{
    form.header = rule.header;
    form.search = rule.search;
    form.bucket = rule.bucket;
}

HeaderRule HeaderRuleFromForm(const HeaderRuleForm& form)
{
    HeaderRule rule;
    rule.header = form.header;
    rule.search = form.search;
    rule.bucket = form.bucket;
    return rule;
}

std::string ValidateHeaderRuleForm(const HeaderRuleForm& form)
{
    std::vector<std::string> failures;
    if (form.header.empty()) {
        failures.emplace_back(kHeaderMissing);
    }
    if (form.search.empty()) {
        failures.emplace_back(kSearchMissing);
    }
    if (form.bucket.empty()) {
        failures.emplace_back(kBucketMissing);
    }
    if (failures.empty()) {
        const HeaderRule rule = HeaderRuleFromForm(form);
        if (!HeaderRuleRoundTrips(rule)) {
            failures.emplace_back(kLeadingColon);
        }
        if (!HeaderRuleFitsInFile(rule)) {
            failures.emplace_back(kTooLong);
        }
    }
    return JoinMessages(failures);
}

std::string HeaderRuleDeleteQuestion(const HeaderRule& rule)
{
    return DeleteQuestion(rule.header + " " + rule.search);
}

std::vector<std::string> HeaderRuleRow(const HeaderRule& rule)
{
    return {rule.header, rule.search, rule.bucket};
}
