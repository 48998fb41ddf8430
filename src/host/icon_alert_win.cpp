#include "host/icon_alert_win.h"

#include "base/resource_ids.h"

namespace {
constexpr int kReceiveSubmenuIndex = 3;

HICON ClassIcon(HWND window, int index)
{
    return reinterpret_cast<HICON>(GetClassLongPtrA(window, index));
}

void PostIcon(HWND window, WPARAM which, HICON icon)
{
    PostMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
}

void SetClassSmallIcon(HWND window, HICON icon)
{
    SetClassLongPtrA(window, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(icon));
}

// The alert icon (phase 1) or the saved icons (phase 0), by the system's way of changing
// a window's icon: per window from version 6 on, else through the class's small icon.
void ShowPhase(const IconAlertState& alert, HWND window, int phase)
{
    if (alert.windows6OrLater) {
        PostIcon(window, ICON_BIG, phase == 1 ? alert.alertIcon : alert.savedBigIcon);
        PostIcon(window, ICON_SMALL, phase == 1 ? alert.alertIcon : alert.savedSmallIcon);
    } else {
        SetClassSmallIcon(window, phase == 1 ? alert.alertIcon : alert.savedSmallIcon);
    }
}

bool HasIcons(const IconAlertState& alert)
{
    return alert.savedSmallIcon != nullptr && alert.alertIcon != nullptr;
}

}  // namespace

void SaveFrameIcons(IconAlertState& alert, HWND window, HINSTANCE module)
{
    if (alert.savedBigIcon == nullptr) {
        alert.savedBigIcon = ClassIcon(window, GCLP_HICON);
    }
    if (alert.savedSmallIcon != nullptr) {
        return;
    }
    alert.savedSmallIcon = ClassIcon(window, GCLP_HICONSM);
    alert.alertIcon = LoadIconA(module, MAKEINTRESOURCEA(IDI_NEW_MAIL_ALERT));
    alert.module = module;
}

void StartIconAlert(IconAlertState& alert, HWND window)
{
    if (!HasIcons(alert)) {
        return;
    }
    StopIconAlert(alert, window);
    alert.alertActive = true;
    alert.alertPhase = 1;
    ShowPhase(alert, window, 1);
    alert.alertTimer = alert.host.APASetTimer(kIconBlinkMilliseconds, alert.blinkTimer,
                                              reinterpret_cast<intptr_t>(window));
}

void StopIconAlert(IconAlertState& alert, HWND window)
{
    if (!HasIcons(alert)) {
        return;
    }
    if (alert.alertTimer != 0) {
        alert.host.APAKillTimer(alert.alertTimer);
    }
    alert.alertActive = false;
    alert.alertTimer = 0;
    alert.alertPhase = 0;
    if (alert.windows6OrLater) {
        PostIcon(window, ICON_SMALL, alert.savedSmallIcon);
        PostIcon(window, ICON_BIG, alert.savedBigIcon);
    } else {
        SetClassSmallIcon(window, alert.savedSmallIcon);
    }
}

int BlinkIconAlert(IconAlertState& alert, HWND window)
{
    if (!alert.alertActive) {
        alert.alertTimer = 0;
        return 0;
    }
    alert.alertPhase = alert.alertPhase == 1 ? 0 : 1;
    ShowPhase(alert, window, alert.alertPhase);
    return 1;
}

std::optional<UINT> HostReceiveCommandState(HWND window)
{
    HMENU submenu = GetSubMenu(GetMenu(window), kReceiveSubmenuIndex);
    if (submenu == nullptr) {
        return std::nullopt;
    }
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu), 0);
    const UINT state = GetMenuState(submenu, kHostReceiveCommand, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) {
        return std::nullopt;
    }
    return state;
}

bool HostCommandActive(HWND window)
{
    return HostReceiveCommandState(window).value_or(0) != 0;
}
