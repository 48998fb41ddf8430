#include "ui/header_rule_edit_dialog_win.h"

#include <iterator>
#include <string>
#include <vector>

#include "ui/dialog_controls_win.h"
#include "base/resource_ids.h"
#include "ui/rule_dialogs_win.h"
#include "ui/settings_context.h"

namespace {

class HeaderRuleEditDialog : public RuleEditDialog {
public:
    HeaderRuleEditDialog(SettingsContext& context, HeaderRuleForm& form)
        : context_(context), form_(form)
    {
    }

private:
    BOOL onInit() override
    {
        FillTypingCombo(control(IDC_HEADER_RULE_BUCKET), BucketComboItems(context_.classifier));
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

    SettingsContext& context_;
    HeaderRuleForm& form_;
};
}  // namespace

INT_PTR RunHeaderRuleEditDialog(HWND owner, SettingsContext& context, HeaderRuleForm& form)
{
    RegisterDialogControlClasses();
    HeaderRuleEditDialog dialog(context, form);
    return dialog.run(static_cast<HINSTANCE>(context.module), IDD_HEADER_RULE_EDIT, owner);
}
