// What the plug-in's dialogs share beside their binding (modal_dialog_win.h): the module
// their templates load from, report lists, combo boxes, whole field texts, and the two
// message boxes of the rule dialogs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Registers the common control classes the templates use (list views, extended combo
// boxes); needed once before such a dialog is created, harmless again.
void RegisterDialogControlClasses();

struct ListColumn {
    const char* title;
    int width;  // pixels
};

// A report list as the rule dialogs show it: full-row selection added to its extended
// style, then the columns in order.
void SetUpReportList(HWND list, const std::vector<ListColumn>& columns);
// Inserts a row at index row with one text per column.
void InsertListRow(HWND list, int row, const std::vector<std::string>& texts);
// Rewrites the texts of an existing row.
void SetListRowTexts(HWND list, int row, const std::vector<std::string>& texts);
void DeleteListRow(HWND list, int row);
// Index of the selected row, -1 when none is.
int SelectedListRow(HWND list);
// Makes row the selected and focused row.
void SelectListRow(HWND list, int row);

// Appends the items to a combo box in the order given.
void AddComboItems(HWND combo, const std::vector<std::string>& items);
// The combo box's selected index, or fallback when nothing is selected.
int32_t ComboSelection(HWND combo, int32_t fallback);

// The control's whole text, however long.
std::string ControlText(HWND control);

// Asks the delete question (caption "確認", Yes and No); true for Yes.
bool ConfirmDelete(HWND owner, const std::string& question);
// Shows the joined messages of an edit dialog's failed checks (caption "エラー").
void ShowCheckFailures(HWND owner, const std::string& messages);
