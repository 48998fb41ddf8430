#include "ui/header_rule_edit_dialog_win.h"

#include <iterator>
#include <string>
#include <vector>

#include "ui/dialog_controls_win.h"
#include "ui/resource_ids.h"
#include "ui/rule_dialogs_win.h"

namespace {

class HeaderRuleEditDialog : public RuleEditDialog {
public:
    explicit HeaderRuleEditDialog(HeaderRuleForm& form) : form_(form) {}

private:
    BOOL onInit() override
    {
        FillTypingCombo(control(IDC_HEADER_RULE_BUCKET), BucketComboItems());
        FillTypingCombo(control(IDC_HEADER_RULE_HEADER),
                        std::vector<std::string>(std::begin(kHeaderNameChoices),
                                                 std::end(kHeaderNameChoices)));

        SetWindowTextA(control(IDC_HEADER_RULE_HEADER), form_.header.c_str());
        SetWindowTextA(control(IDC_HEADER_RULE_SEARCH), form_.search.c_str());
        SetWindowTextA(control(IDC_HEADER_RULE_BUCKET), form_.bucket.c_str());
        return TRUE;
    }

    void accept() override
    {
        form_.header = FieldText(ControlText(control(IDC_HEADER_RULE_HEADER)));
        form_.search = FieldText(ControlText(control(IDC_HEADER_RULE_SEARCH)));
        form_.bucket = FieldText(ControlText(control(IDC_HEADER_RULE_BUCKET)));
        const std::string failures = ValidateHeaderRuleForm(form_);
        if (!failures.empty()) {
            ShowCheckFailures(window(), failures);
            return;
        }
        end(1);
    }

    HeaderRuleForm& form_;
};
}  // namespace

INT_PTR RunHeaderRuleEditDialog(HWND owner, HeaderRuleForm& form)
{
    RegisterDialogControlClasses();
    HeaderRuleEditDialog dialog(form);
    return dialog.run(PluginModule(), IDD_HEADER_RULE_EDIT, owner);
}
