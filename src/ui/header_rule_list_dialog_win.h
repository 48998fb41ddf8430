// The header-rule list dialog (template 104, "Tarnwick 追加ヘッダ"): the header rules one
// per row, in the order the receive filter tries them, with their edit dialog and moves.
#pragma once

#include <windows.h>

struct SettingsContext;

// Reloads the header rules from the INI file, shows them owned by owner and edits a copy;
// OK saves the copy when anything changed, independently of the dialog that opened this
// one. Returns 1 after OK, 2 after Cancel (or Escape), 0 from the caption's close box, -1
// when the dialog could not be shown.
INT_PTR ShowHeaderRuleListDialog(HWND owner, SettingsContext& context);
