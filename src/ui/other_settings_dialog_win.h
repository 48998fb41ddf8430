// The other-settings dialog (template 101): waiting for the classifier at start-up, bold
// destination folders, the Subject clean-up on correction, the automatic-check behaviour
// and the classifier's URL, whose "接続テスト" (1016) runs the link self-test of the typed
// address without storing it. Its buttons carry their own ids (1003, 1004), so Enter and
// Escape do nothing; only the buttons and the close box end it.
#pragma once

#include <windows.h>

struct SettingsContext;

// Runs the dialog over the settings of context, owned by owner. 1003 after "Ｏ　Ｋ" (the settings are then stored and written), 1004 after
// "キャンセル", 0 after the close box; -1 when it could not be shown.
INT_PTR ShowOtherSettingsDialog(HWND owner, SettingsContext& context);
