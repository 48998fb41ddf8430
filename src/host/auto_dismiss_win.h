// While the host receives with AutoReceive on, nobody may be there to answer its boxes: the
// host's "エラー" boxes are confirmed and its password prompts cancelled, when the folder
// window owns them and the host's receive command 32835 is grayed.
#pragma once

#include <windows.h>

// Milliseconds between two looks for boxes to dismiss, per hooked folder window.
inline constexpr unsigned kAutoDismissMilliseconds = 500;

// With autoReceive on, presses OK in the host's "エラー" boxes and "キャンセル" in its
// password prompts owned by window, while the host's command 32835 is grayed. Does nothing
// for a window that is gone.
void AutoDismiss(HWND window, bool autoReceive);
