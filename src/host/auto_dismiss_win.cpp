#include "host/auto_dismiss_win.h"

#include "host/icon_alert_win.h"

namespace {

constexpr const char* kDialogClass = "#32770";
constexpr const char* kErrorBoxTitle = "エラー";
constexpr const char* kPasswordPromptText = "パスワードを入力してください";
constexpr const char* kOkLabel = "OK";
constexpr const char* kCancelLabel = "キャンセル";

// Whether the host's command 32835 is grayed; a host without the command counts as grayed.
bool ReceiveCommandGrayed(HWND window)
{
    return (HostReceiveCommandState(window).value_or(~0u) & MF_GRAYED) != 0;
}

void PressButton(HWND box, HWND button)
{
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(LOWORD(GetDlgCtrlID(button)), 0), 0);
}

// One walk over the top-level dialogs titled title (any title when null) that window owns:
// the button labelled label is pressed in each that shows it and, unless text is null, a
// "Static" text equal to text. False when the pass is to end: the host's command is not
// grayed.
bool PressInOwnedBoxes(HWND window, const char* title, const char* text, const char* label)
{
    for (HWND box = FindWindowExA(nullptr, nullptr, kDialogClass, title); box != nullptr;
         box = FindWindowExA(nullptr, box, kDialogClass, title)) {
        if (GetParent(box) != window) {
            continue;
        }
        if (text != nullptr && FindWindowExA(box, nullptr, "Static", text) == nullptr) {
            continue;
        }
        HWND button = FindWindowExA(box, nullptr, "Button", label);
        if (button == nullptr) {
            continue;
        }
        if (!ReceiveCommandGrayed(window)) {
            return false;
        }
        PressButton(box, button);
    }
    return true;
}

}  // namespace

void AutoDismiss(HWND window, bool autoReceive)
{
    if (!autoReceive || !IsWindow(window)) {
        return;
    }
    if (PressInOwnedBoxes(window, kErrorBoxTitle, nullptr, kOkLabel)) {
        PressInOwnedBoxes(window, nullptr, kPasswordPromptText, kCancelLabel);
    }
}
