#include "plugin/menu_commands_win.h"

#include "host/menu_writer_win.h"
#include "mailbox/folder_catalogue.h"
#include "mailbox/mailbox.h"
#include "plugin/correction_menu.h"
#include "plugin/process_win.h"
#include "plugin/why_here.h"
#include "ui/why_here_dialog_win.h"

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

// "振り分けの理由": the explanation for the window's message, in a dialog the window owns.
void TW_STDCALL ExplainFilingMenuCommand(HostWindow window, intptr_t fromView)
{
    try {
        PluginProcess& process = ThePluginProcess();
        const PluginState& state = process.state;
        const std::optional<std::string> mailPath = MailPathForWindow(
            state.host, window, fromView != 0 ? kCorrectViewedMail : kCorrectOneInFolder);
        if (!mailPath) {
            return;
        }
        FolderCatalogue accountFolders;
        BuildFolderCatalogueOf(accountFolders, process.profile,
                               AccountDirOfMail(MailboxRoot(state.host), *mailPath));
        ShowWhyHereDialog(static_cast<HINSTANCE>(state.pluginInstance), static_cast<HWND>(window),
                          ExplainFiling(state, process.profile, accountFolders, *mailPath));
    } catch (...) {
    }
}

const MenuCommandProcs kMenuCommands = {ReclassifyMenuCommand, RefetchBucketsMenuCommand,
                                        OpenClassifierPageMenuCommand, ExplainFilingMenuCommand};

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
