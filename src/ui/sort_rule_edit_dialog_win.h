// The sorting-rule edit dialog (template 106, "振り分け設定"): one rule's bucket, folder,
// action, mark and two flags.
#pragma once

#include <windows.h>

#include <cstdint>

#include "config/rules.h"
#include "ui/sort_rule_editing.h"

struct SettingsContext;

// Shows form, owned by owner, with the buckets and folders of context to choose from. rules are the list dialog's working rules, for the duplicate
// check; editedIndex is the rule being edited, -1 for a new one. OK reads the fields into
// form and ends the dialog only once the checks pass. Returns 1 after OK, 2 after Cancel
// (or Escape), 0 from the caption's close box, -1 when the dialog could not be shown.
INT_PTR RunSortRuleEditDialog(HWND owner, SettingsContext& context, SortRuleForm& form,
                              const SortRuleList& rules, int32_t editedIndex);
