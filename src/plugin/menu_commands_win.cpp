#include "plugin/menu_commands_win.h"

#include "host/menu_writer_win.h"
#include "plugin/correction_menu.h"
#include "plugin/process_win.h"

namespace {

// Host callbacks run from the host's message loop: nothing may escape into them.
void TW_STDCALL ReclassifyMenuCommand(HostWindow window, intptr_t bucketIndex)
{
    try {
        CorrectionContext context = ThePluginProcess().correction();
        ReclassifyCommand(context, window, bucketIndex);
    } catch (...) {
    }
}

void TW_STDCALL RefetchBucketsMenuCommand(HostWindow, intptr_t)
{
    try {
        CorrectionContext context = ThePluginProcess().correction();
        RefetchBucketsCommand(context);
    } catch (...) {
    }
}

void TW_STDCALL OpenClassifierPageMenuCommand(HostWindow window, intptr_t fromView)
{
    try {
        PluginProcess& process = ThePluginProcess();
        CorrectionContext context = process.correction();
        OpenClassifierPageForMail(context, process.urlOpener, window, fromView != 0);
    } catch (...) {
    }
}

const MenuCommandProcs kMenuCommands = {ReclassifyMenuCommand, RefetchBucketsMenuCommand,
                                        OpenClassifierPageMenuCommand};

}  // namespace

int FolderInitMenu(HWND window, HMENU menu, int menuId)
{
    if (menuId != kFolderMenuId) {
        return 0;
    }
    CorrectionContext context = ThePluginProcess().correction();
    Win32MenuWriter writer(menu);
    AddFolderMenuItems(context, kMenuCommands, window, writer);
    return 0;
}

int ViewInitMenu(HWND window, HMENU menu, int menuId)
{
    HMENU target = nullptr;
    if (menuId == kViewMenuBarId) {
        target = GetSubMenu(menu, kViewMenuBarSubmenuIndex);
    } else if (menuId == kViewMenuId) {
        target = menu;
    } else {
        return menuId;
    }
    if (target == nullptr) {
        return 0;
    }
    CorrectionContext context = ThePluginProcess().correction();
    Win32MenuWriter writer(target);
    return AddViewMenuItems(context, kMenuCommands, window, writer) ? 1 : 0;
}
