#include "plugin/folder_window_win.h"

#include <string>

#include "host/auto_dismiss_win.h"
#include "host/icon_alert_win.h"
#include "mailbox/new_mail_tally.h"
#include "plugin/process_win.h"

namespace {

std::string AccountOfWindow(const HostApi& host, HWND window)
{
    return HostText(host.APAGetAccount(window));
}

// Redraws every hooked tree whose account is accountDir from the tally (clearing bold that
// is no longer due); clears boldRefreshPending.
void RefreshFolderBold(PluginProcess& process, const std::string& accountDir)
{
    if (accountDir.empty()) {
        return;
    }
    process.state.boldRefreshPending = false;
    if (const AccountTally* tally = FindAccountTally(process.state.newMailTally, accountDir)) {
        process.frameHooks.applyTally(*tally);
    }
}

// The hook follows the account the window shows.
void FollowAccount(PluginProcess& process, FrameWinHook& hook, HWND frame)
{
    const std::string account = AccountOfWindow(process.state.host, frame);
    if (!account.empty()) {
        hook.SetAccount(account);
    }
}

}  // namespace

LRESULT CALLBACK HookWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchHookedMessage(ThePluginProcess().frameHooks.registry, window, message, wParam,
                                 lParam);
}

int TW_STDCALL AutoDismissTimer(HostWindow, intptr_t window)
{
    try {
        AutoDismiss(reinterpret_cast<HWND>(window), ThePluginProcess().state.settings.AutoReceive);
    } catch (...) {
    }
    return 1;
}

int TW_STDCALL BlinkIconAlertTimer(HostWindow, intptr_t window)
{
    try {
        return BlinkIconAlert(ThePluginProcess().iconAlert, reinterpret_cast<HWND>(window));
    } catch (...) {
        return 0;
    }
}

void CreateFrameHook(HWND frame)
{
    PluginProcess& process = ThePluginProcess();
    // A window is hooked once; a second creation only brings the account up to date.
    if (FrameWinHook* hook = process.frameHooks.hook(frame)) {
        FollowAccount(process, *hook, frame);
    }
}

void FolderWindowLoaded(HWND frame, const char* folder)
{
    PluginProcess& process = ThePluginProcess();
    PluginState& state = process.state;
    if (FrameWinHook* hook = process.frameHooks.find(frame)) {
        FollowAccount(process, *hook, frame);
    }
    if (state.settings.AfterSetBold) {
        ClearFolderTally(state.newMailTally, state.boldRefreshPending, state.host, process.profile,
                         AccountOfWindow(state.host, frame), HostText(folder));
        RefreshFolderBold(process, AccountOfWindow(state.host, frame));
    }
}

void FolderWindowOpensView(HWND frame)
{
    PluginProcess& process = ThePluginProcess();
    if (process.state.boldRefreshPending) {
        RefreshFolderBold(process, AccountOfWindow(process.state.host, frame));
    }
}
