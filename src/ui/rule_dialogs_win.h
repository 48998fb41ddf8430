// What the sorting-rule and header-rule dialogs share beside their binding
// (modal_dialog_win.h): how a list dialog takes commands and ends, and how an edit dialog
// takes OK and Cancel.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/dialog_controls_win.h"
#include "ui/modal_dialog_win.h"
#include "ui/rule_editing.h"
#include "ui/working_list.h"

struct ClassifierContext;

// A list dialog over a working copy of rules. Every command first takes the selected row
// afresh (editedIndex, -1 for none); a double-click on a row is the edit button. OK saves
// the copy when it changed and ends with 1, Cancel and Escape end with 2, the caption's close
// box with 0; every way out drops the copy.
template <typename Rule>
class RuleListDialog : public ModalDialog {
protected:
    RuleListDialog(int listId, int editButtonId) : listId_(listId), editButtonId_(editButtonId) {}

    HWND list() const { return control(listId_); }
    WorkingList<Rule>& working() { return working_; }
    const WorkingList<Rule>& working() const { return working_; }
    int32_t editedIndex() const { return editedIndex_; }

    // At opening: takes the copy of the live rules and shows them one row each.
    void showRules(const std::vector<Rule>& live, const std::vector<ListColumn>& columns,
                   std::vector<std::string> (*rowOf)(const Rule&))
    {
        working_.open(live);
        SetUpReportList(list(), columns);
        for (int32_t i = 0; i < working_.size(); ++i) {
            InsertListRow(list(), i, rowOf(working_.rules()[static_cast<std::size_t>(i)]));
        }
    }

    // The dialog's own buttons; true when handled.
    virtual bool onButton(int id) = 0;
    // Hands the changed working copy to the rule store.
    virtual void save() = 0;

private:
    bool onCommand(int id, int, HWND) final
    {
        editedIndex_ = SelectedListRow(list());
        switch (id) {
        case IDOK:
            if (working_.changed()) {
                save();
            }
            leave(1);
            return true;
        case IDCANCEL:
            leave(2);
            return true;
        default:
            return onButton(id);
        }
    }

    bool onNotify(const NMHDR& header, LRESULT& result) final
    {
        if (header.idFrom != static_cast<UINT_PTR>(listId_) ||
            header.code != static_cast<UINT>(NM_DBLCLK)) {
            return false;
        }
        onCommand(editButtonId_, BN_CLICKED, nullptr);
        result = 0;
        return true;
    }

    void onClose() final { leave(0); }

    void leave(INT_PTR result)
    {
        working_.close();
        end(result);
    }

    const int listId_;
    const int editButtonId_;
    WorkingList<Rule> working_;
    int32_t editedIndex_ = -1;
};

// The edit dialogs' combo boxes with an edit field: typing limited to kComboTypingLimit
// bytes, then the items in order.
void FillTypingCombo(HWND combo, const std::vector<std::string>& items);
// The bucket names the edit dialogs offer, from the classifier link's list, which is
// fetched the first time it is asked for.
std::vector<std::string> BucketComboItems(ClassifierContext& classifier);

// An edit dialog over a form: OK runs accept(), which ends the dialog with 1 once the
// entered values pass their checks; Cancel and Escape end with 2, the close box with 0.
class RuleEditDialog : public ModalDialog {
protected:
    virtual void accept() = 0;

private:
    bool onCommand(int id, int, HWND) final
    {
        switch (id) {
        case IDOK:
            accept();
            return true;
        case IDCANCEL:
            end(2);
            return true;
        default:
            return false;
        }
    }
};
