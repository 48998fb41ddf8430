// The popup menu of the plug-in's toolbar button (menu resource 114): "振り分け設定",
// "POPFileを開く" and "POPFileとの接続を確認", carrying the commands registered for them.
#pragma once

#include <windows.h>

struct ToolbarCommandNumbers;

// Shows the popup at the cursor, owned by window, its items carrying the registered
// settings, open and self-test commands; returns when the menu closed.
void ShowToolbarPopup(HWND window, HINSTANCE module, const ToolbarCommandNumbers& commands);
