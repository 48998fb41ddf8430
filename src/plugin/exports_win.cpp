// The thirteen entry points the mail client calls, and the library entry. Each export
// hands off to the portable code and lets no exception escape into the host.
#include <windows.h>

#include "host/icon_alert_win.h"
#include "plugin/classifier_wait_win.h"
#include "plugin/folder_window_win.h"
#include "plugin/menu_commands_win.h"
#include "plugin/process_win.h"
#include "plugin/receive_filter.h"
#include "plugin/receive_summary_win.h"
#include "plugin/startup.h"
#include "plugin/toolbar_commands_win.h"
#include "ui/about_dialog_win.h"

namespace {

HostSymbolLookup LookupInMainExecutable(HMODULE host)
{
    return [host](const std::string& name) -> void* {
        return reinterpret_cast<void*>(GetProcAddress(host, name.c_str()));
    };
}

// Process attach: record our module, resolve the host's services, refuse a host that
// lacks any of them.
BOOL AttachToHost(HINSTANCE instance)
{
    PluginState& state = ThePluginProcess().state;
    state.pluginInstance = instance;
    HMODULE host = GetModuleHandleA(nullptr);
    if (!ResolveHostApi(state.host, host, LookupInMainExecutable(host))) {
        MessageBoxA(nullptr, MissingServiceMessage().c_str(), kMissingServiceCaption, MB_ICONERROR);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    try {
        switch (reason) {
        case DLL_PROCESS_ATTACH:
            return AttachToHost(instance);
        case DLL_PROCESS_DETACH:
            MarkHostApiUnresolved(ThePluginProcess().state.host);
            return TRUE;
        default:
            return TRUE;
        }
    } catch (...) {
        return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE;
    }
}

const char* WINAPI APCGetPlugName()
{
    return PluginName();
}

int WINAPI APCVersionInfo(HWND owner)
{
    try {
        const PluginState& state = ThePluginProcess().state;
        return static_cast<int>(ShowAboutDialog(static_cast<HINSTANCE>(state.pluginInstance), owner));
    } catch (...) {
        return 0;
    }
}

// The folder catalogue is refreshed for the edit dialog's destinations, then the sorting-rule
// list runs: 1 after OK, 2 after Cancel, 0 from the caption's close box.
int WINAPI APCSetup(HWND owner)
{
    try {
        return RunSettings(owner);
    } catch (...) {
        return 0;
    }
}

int WINAPI APCStartUp(int)
{
    try {
        PluginProcess& process = ThePluginProcess();
        const int result = RunStartUp(process.state, process.platform, process.startUpSystem,
                                      ReceiveSummaryCommand);
        process.notificationWindow.create(static_cast<HINSTANCE>(process.state.pluginInstance));
        return result;
    } catch (...) {
        return 1;
    }
}

void WINAPI APCCleanUp()
{
}

int WINAPI APCRecFilter(const char* mailPath)
{
    try {
        PluginProcess& process = ThePluginProcess();
        return mailPath != nullptr ? FilterReceivedMail(process.state, process.platform,
                                                        process.frameHooks, mailPath)
                                   : 0;
    } catch (...) {
        return 0;
    }
}

// Hooks the folder window, saves its icons for the new-mail alert, then waits for the
// classifier when asked to.
int WINAPI APCFolderCreate(HWND frame)
{
    try {
        CreateFrameHook(frame);
    } catch (...) {
    }
    try {
        PluginProcess& process = ThePluginProcess();
        SaveFrameIcons(process.iconAlert, frame,
                       static_cast<HINSTANCE>(process.state.pluginInstance));
        RunClassifierWaitIfNeeded(frame);
    } catch (...) {
    }
    return 0;
}

// The hook follows the window's account; opening a folder clears its new-mail count and
// redraws the trees.
int WINAPI APCFolderLoad(HWND frame, const char* folder)
{
    try {
        FolderWindowLoaded(frame, folder);
    } catch (...) {
    }
    return 0;
}

int WINAPI APCFolderPreOpenView(HWND frame, int)
{
    try {
        FolderWindowOpensView(frame);
    } catch (...) {
    }
    return 1;
}

int WINAPI APCFolderInitMenu(HWND window, HMENU menu, int menuId)
{
    try {
        return FolderInitMenu(window, menu, menuId);
    } catch (...) {
        return 0;
    }
}

int WINAPI APCViewInitMenu(HWND window, HMENU menu, int menuId)
{
    try {
        return ViewInitMenu(window, menu, menuId);
    } catch (...) {
        return menuId;
    }
}

void WINAPI APCSendInitMenu(int, int, int)
{
}

int WINAPI APCFolderEndRetrieve(HWND frame)
{
    try {
        EndRetrievalOfFrame(frame);
    } catch (...) {
    }
    return 0;
}

}  // extern "C"
