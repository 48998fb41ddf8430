#include "host/toolbar_popup_win.h"

#include "base/resource_ids.h"
#include "host/frame_hook_win.h"

namespace {

// Gives the item at position the command number; the state is reset to enabled.
void SetItemCommand(HMENU menu, UINT position, unsigned command)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE | MIIM_ID;
    item.fState = 0;
    item.wID = command;
    SetMenuItemInfoA(menu, position, TRUE, &item);
}

}  // namespace

void ShowToolbarPopup(HWND window, HINSTANCE module, const ToolbarCommandNumbers& commands)
{
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDM_TOOLBAR_POPUP));
    if (menu == nullptr) {
        return;
    }
    HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
        SetItemCommand(popup, 0, commands.settingsCommand);
        SetItemCommand(popup, 1, commands.openClassifierCommand);
        SetItemCommand(popup, 2, commands.linkSelfTestCommand);
        POINT cursor = {};
        GetCursorPos(&cursor);
        TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, window, nullptr);
    }
    DestroyMenu(menu);
}
