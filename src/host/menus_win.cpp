#include "host/menus_win.h"

#include "classifier/classifier_services_win.h"
#include "classifier/reclassify.h"
#include "core/process_win.h"
#include "host/correction_menu.h"
#include "host/menu_writer_win.h"

namespace {

// Host callbacks run from the host's message loop: nothing may escape into it.
void TW_STDCALL ReclassifyMenuCommand(HostWindow window, intptr_t bucketIndex)
{
    try {
        ClassifierContext context = ProcessClassifierContext();
        ReclassifyCommand(context, window, bucketIndex);
    } catch (...) {
    }
}

void TW_STDCALL RefetchBucketsMenuCommand(HostWindow, intptr_t)
{
    try {
        ClassifierContext context = ProcessClassifierContext();
        RefetchBucketsCommand(context);
    } catch (...) {
    }
}

void TW_STDCALL OpenClassifierPageMenuCommand(HostWindow window, intptr_t fromView)
{
    try {
        ClassifierContext context = ProcessClassifierContext();
        OpenClassifierPageForMail(context, ThePluginProcess().urlOpener, window,
                                  fromView != 0);
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
    ClassifierContext context = ProcessClassifierContext();
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
    ClassifierContext context = ProcessClassifierContext();
    Win32MenuWriter writer(target);
    return AddViewMenuItems(context, kMenuCommands, window, writer) ? 1 : 0;
}

void TW_STDCALL OpenClassifierStartPageCommand(HostWindow window, intptr_t)
{
    try {
        ClassifierContext context = ProcessClassifierContext();
        OpenClassifierStartPage(context, ThePluginProcess().urlOpener, window);
    } catch (...) {
    }
}
