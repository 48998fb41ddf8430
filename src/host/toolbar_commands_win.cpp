#include "host/toolbar_commands_win.h"

#include "core/process_win.h"
#include "host/folder_catalogue.h"
#include "host/frame_hook_win.h"
#include "host/menus_win.h"
#include "ui/resource_ids.h"
#include "ui/sort_rule_list_dialog_win.h"

namespace {

// Host callbacks run from the host's message loop: nothing may escape into it.
void TW_STDCALL ToolbarMenuCommand(HostWindow window, intptr_t)
{
    try {
        ShowToolbarPopup(static_cast<HWND>(window));
    } catch (...) {
    }
}

void TW_STDCALL SettingsCommand(HostWindow window, intptr_t)
{
    try {
        RunSettings(static_cast<HWND>(window));
    } catch (...) {
    }
}

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

void RegisterToolbarCommands(const HostApi& host, ToolbarCommandNumbers& commands)
{
    commands.toolbarMenuCommand = host.APARegistCallback(ToolbarMenuCommand, 0);
    commands.settingsCommand = host.APARegistCallback(SettingsCommand, 0);
    commands.openClassifierCommand = host.APARegistCallback(OpenClassifierStartPageCommand, 0);
}

int RunSettings(HWND owner)
{
    PluginProcess& process = ThePluginProcess();
    BuildFolderCatalogue(process.state.folderCatalogue, process.state.host, process.profile, owner);
    return static_cast<int>(ShowSortRuleListDialog(owner));
}

void ShowToolbarPopup(HWND window)
{
    PluginProcess& process = ThePluginProcess();
    HMENU menu = LoadMenuA(static_cast<HINSTANCE>(process.state.pluginInstance),
                           MAKEINTRESOURCEA(IDM_TOOLBAR_POPUP));
    if (menu == nullptr) {
        return;
    }
    HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
        const ToolbarCommandNumbers& commands = process.frameHooks.commands;
        SetItemCommand(popup, 0, commands.settingsCommand);
        SetItemCommand(popup, 1, commands.openClassifierCommand);
        POINT cursor = {};
        GetCursorPos(&cursor);
        TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, window, nullptr);
    }
    DestroyMenu(menu);
}
