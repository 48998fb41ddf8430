// The decisions behind the header-rule dialogs: the form the edit dialog shows and reads
// back, its checks, and what the list dialog shows and asks.
#pragma once

#include <string>
#include <vector>

#include "config/rules.h"
#include "ui/rule_editing.h"
#include "ui/working_list.h"

// The three rule texts the edit dialog shows. It lives as long as the plug-in; "追加"
// clears it, "編集" fills it from the selected rule.
struct HeaderRuleForm {
    std::string header;
    std::string search;
    std::string bucket;
};

using HeaderRuleWorkingList = WorkingList<HeaderRule>;

// The header combo's items, stored with their colon when picked.
inline constexpr const char* kHeaderNameChoices[] = {"From:", "To:", "Subject:", "X-Spam-Flag:",
                                                     "X-Barracuda-Spam-Flag:"};

void ClearHeaderRuleForm(HeaderRuleForm& form);
void FillHeaderRuleForm(HeaderRuleForm& form, const HeaderRule& rule);
HeaderRule HeaderRuleFromForm(const HeaderRuleForm& form);

// The edit dialog's checks on OK, their messages joined in order (empty header, empty
// search text, empty bucket). Once those pass, a rule that the INI file could not give
// back as it is (a header or search text that begins with a colon, a value too long for
// the file) is refused too. Empty when every check passed.
std::string ValidateHeaderRuleForm(const HeaderRuleForm& form);

// The question before the rule is deleted: header, one space, search text.
std::string HeaderRuleDeleteQuestion(const HeaderRule& rule);

// The list dialog's row for a rule: header, search text, bucket.
std::vector<std::string> HeaderRuleRow(const HeaderRule& rule);
