#include "ui/header_rule_list_dialog_win.h"

#include <string>

#include "config/rule_store.h"
#include "config/settings_store.h"
#include "core/process_win.h"
#include "ui/dialog_controls_win.h"
#include "ui/header_rule_edit_dialog_win.h"
#include "ui/header_rule_editing.h"
#include "ui/resource_ids.h"
#include "ui/rule_dialogs_win.h"

namespace {
const std::vector<ListColumn> kColumns = {{"ヘッダ", 150}, {"検索", 100}, {"分類", 100}};

class HeaderRuleListDialog : public RuleListDialog<HeaderRule> {
public:
    explicit HeaderRuleListDialog(PluginProcess& process)
        : RuleListDialog(IDC_HEADER_RULE_LIST, IDC_HEADER_RULE_EDIT), process_(process),
          iniPath_(pluginIniPath(process.platform.files))
    {
    }

private:
    BOOL onInit() override
    {
        // The dialog always starts from what the file holds.
        loadHeaderRules(process_.state.headerRules, process_.platform.profile, iniPath_);
        showRules(process_.state.headerRules, kColumns, HeaderRuleRow);
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
        saveHeaderRules(process_.state.headerRules, working().rules(), process_.platform.profile,
                        iniPath_);
    }

    HeaderRuleForm& form() { return process_.state.headerRuleForm; }
    const HeaderRule& rule(int32_t index) const
    {
        return working().rules()[static_cast<std::size_t>(index)];
    }

    void addRule()
    {
        ClearHeaderRuleForm(form());
        if (RunHeaderRuleEditDialog(window(), form()) != 1) {
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
        if (RunHeaderRuleEditDialog(window(), form()) != 1) {
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

    PluginProcess& process_;
    const std::string iniPath_;
};
}  // namespace

INT_PTR ShowHeaderRuleListDialog(HWND owner)
{
    RegisterDialogControlClasses();
    HeaderRuleListDialog dialog(ThePluginProcess());
    return dialog.run(PluginModule(), IDD_HEADER_RULE_LIST, owner);
}
