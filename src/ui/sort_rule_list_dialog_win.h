// The sorting-rule list dialog (template 105, "Tarnwick 振り分け設定"), the plug-in's
// settings: the rules one per row, their edit dialog, the header rules and other settings.
#pragma once

#include <windows.h>

struct SettingsContext;

// Shows the live sorting rules of context, owned by owner, and edits a copy of them; OK saves the copy
// when anything changed. Returns 1 after OK, 2 after Cancel (or Escape), 0 from the
// caption's close box, -1 when the dialog could not be shown.
INT_PTR ShowSortRuleListDialog(HWND owner, SettingsContext& context);
