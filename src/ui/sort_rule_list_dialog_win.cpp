#include "ui/sort_rule_list_dialog_win.h"

#include "base/platform.h"
#include "config/rule_store.h"
#include "ui/dialog_controls_win.h"
#include "ui/header_rule_list_dialog_win.h"
#include "ui/other_settings_dialog_win.h"
#include "base/resource_ids.h"
#include "ui/rule_dialogs_win.h"
#include "ui/settings_context.h"
#include "ui/sort_rule_edit_dialog_win.h"
#include "ui/sort_rule_editing.h"

namespace {
const std::vector<ListColumn> kColumns = {{"分類", 100}, {"フォルダ", 150}};

class SortRuleListDialog : public RuleListDialog<SortRule> {
public:
    explicit SortRuleListDialog(SettingsContext& context)
        : RuleListDialog(IDC_SORT_RULE_LIST, IDC_SORT_RULE_EDIT), context_(context)
    {
    }

private:
    BOOL onInit() override
    {
        showRules(context_.sortRules, kColumns, SortRuleRow);
        return TRUE;
    }

    bool onButton(int id) override
    {
        switch (id) {
        case IDC_SORT_RULE_ADD:
            addRule();
            return true;
        case IDC_SORT_RULE_EDIT:
            editRule();
            return true;
        case IDC_SORT_RULE_DELETE:
            deleteRule();
            return true;
        case IDC_OPEN_HEADER_RULES:
            ShowHeaderRuleListDialog(window(), context_);
            return true;
        case IDC_OPEN_OTHER_SETTINGS:
            ShowOtherSettingsDialog(window(), context_);
            return true;
        default:
            return false;
        }
    }

    void save() override
    {
        saveSortRules(context_.sortRules, working().rules(), context_.platform.profile,
                      context_.platform.files);
    }

    SortRuleForm& form() { return context_.sortRuleForm; }

    void addRule()
    {
        ClearSortRuleFormForAdd(form());
        if (RunSortRuleEditDialog(window(), context_, form(), working().rules(), -1) != 1) {
            return;
        }
        SortRule rule;
        ApplySortRuleForm(form(), rule);
        InsertListRow(list(), working().size(), SortRuleRow(rule));
        working().append(rule);
    }

    void editRule()
    {
        const int32_t index = editedIndex();
        if (!working().holds(index)) {
            return;
        }
        SortRule rule = working().rules()[static_cast<std::size_t>(index)];
        FillSortRuleForm(form(), rule);
        if (RunSortRuleEditDialog(window(), context_, form(), working().rules(), index) != 1) {
            return;
        }
        ApplySortRuleForm(form(), rule);
        working().replace(index, rule);
        SetListRowTexts(list(), index, SortRuleRow(rule));
    }

    void deleteRule()
    {
        const int32_t index = editedIndex();
        if (!working().holds(index) ||
            !ConfirmDelete(window(),
                           SortRuleDeleteQuestion(working().rules()[static_cast<std::size_t>(index)]))) {
            return;
        }
        DeleteListRow(list(), index);
        working().erase(index);
    }

    SettingsContext& context_;
};
}  // namespace

INT_PTR ShowSortRuleListDialog(HWND owner, SettingsContext& context)
{
    RegisterDialogControlClasses();
    SortRuleListDialog dialog(context);
    return dialog.run(static_cast<HINSTANCE>(context.module), IDD_SORT_RULE_LIST, owner);
}
