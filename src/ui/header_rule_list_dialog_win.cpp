#include "ui/header_rule_list_dialog_win.h"

#include <string>

#include "base/platform.h"
#include "config/rule_store.h"
#include "config/settings_store.h"
#include "ui/dialog_controls_win.h"
#include "ui/header_rule_edit_dialog_win.h"
#include "ui/header_rule_editing.h"
#include "base/resource_ids.h"
#include "ui/rule_dialogs_win.h"
#include "ui/settings_context.h"

namespace {
const std::vector<ListColumn> kColumns = {{"ヘッダ", 150}, {"検索", 100}, {"分類", 100}};

class HeaderRuleListDialog : public RuleListDialog<HeaderRule> {
public:
    explicit HeaderRuleListDialog(SettingsContext& context)
        : RuleListDialog(IDC_HEADER_RULE_LIST, IDC_HEADER_RULE_EDIT), context_(context),
          iniPath_(pluginIniPath(context.platform.files))
    {
    }

private:
    BOOL onInit() override
    {
        // The dialog always starts from what the file holds.
        loadHeaderRules(context_.headerRules, context_.platform.profile, iniPath_);
        showRules(context_.headerRules, kColumns, HeaderRuleRow);
        return TRUE;
    }

    bool onButton(int id) override
    {
        switch (id) {
        case IDC_HEADER_RULE_ADD:
            addRule();
            return true;
        case IDC_HEADER_RULE_EDIT:
            editRule();
            return true;
        case IDC_HEADER_RULE_DELETE:
            deleteRule();
            return true;
        case IDC_HEADER_RULE_UP:
            moveRule(-1);
            return true;
        case IDC_HEADER_RULE_DOWN:
            moveRule(+1);
            return true;
        default:
            return false;
        }
    }

    void save() override
    {
        saveHeaderRules(context_.headerRules, working().rules(), context_.platform.profile,
                        iniPath_);
    }

    HeaderRuleForm& form() { return context_.headerRuleForm; }
    const HeaderRule& rule(int32_t index) const
    {
        return working().rules()[static_cast<std::size_t>(index)];
    }

    void addRule()
    {
        ClearHeaderRuleForm(form());
        if (RunHeaderRuleEditDialog(window(), context_, form()) != 1) {
            return;
        }
        const HeaderRule added = HeaderRuleFromForm(form());
        InsertListRow(list(), working().append(added), HeaderRuleRow(added));
    }

    void editRule()
    {
        const int32_t index = editedIndex();
        if (!working().holds(index)) {
            return;
        }
        FillHeaderRuleForm(form(), rule(index));
        if (RunHeaderRuleEditDialog(window(), context_, form()) != 1) {
            return;
        }
        const HeaderRule edited = HeaderRuleFromForm(form());
        working().replace(index, edited);
        SetListRowTexts(list(), index, HeaderRuleRow(edited));
    }

    void deleteRule()
    {
        const int32_t index = editedIndex();
        if (!working().holds(index) || !ConfirmDelete(window(), HeaderRuleDeleteQuestion(rule(index)))) {
            return;
        }
        DeleteListRow(list(), index);
        working().erase(index);
    }

    void moveRule(int32_t step)
    {
        const int32_t from = editedIndex();
        const int32_t to = working().move(from, step);
        if (to < 0) {
            return;
        }
        DeleteListRow(list(), from);
        InsertListRow(list(), to, HeaderRuleRow(rule(to)));
        SelectListRow(list(), to);
    }

    SettingsContext& context_;
    const std::string iniPath_;
};
}  // namespace

INT_PTR ShowHeaderRuleListDialog(HWND owner, SettingsContext& context)
{
    RegisterDialogControlClasses();
    HeaderRuleListDialog dialog(context);
    return dialog.run(static_cast<HINSTANCE>(context.module), IDD_HEADER_RULE_LIST, owner);
}
