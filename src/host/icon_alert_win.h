// The new-mail signal outside any dialog: the host window's icon blinks between the
// plug-in's alert icon and the host's own icons until the user turns to the window. Also
// the test of the host's receive command (32835) that the summary waits on.
#pragma once

#include <windows.h>

#include <optional>

#include "base/host_api.h"

// Process-wide; one instance in the plug-in's process objects.
struct IconAlertState {
    // What the alert works with: the host's timers, the system's way of changing a window's
    // icon (read at each use: both are settled at start-up) and the host timer callback that
    // calls BlinkIconAlert with its window parameter.
    IconAlertState(const HostApi& host, const bool& windows6OrLater, HostTimerProc blinkTimer)
        : host(host), windows6OrLater(windows6OrLater), blinkTimer(blinkTimer)
    {
    }

    const HostApi& host;
    const bool& windows6OrLater;
    const HostTimerProc blinkTimer;

    HICON savedBigIcon = nullptr;    // the host window class's icons, taken once
    HICON savedSmallIcon = nullptr;
    HICON alertIcon = nullptr;       // icon resource 173, loaded with savedSmallIcon
    HINSTANCE module = nullptr;      // where alertIcon came from
    bool alertActive = false;
    int alertPhase = 0;              // 1 while the alert icon is shown
    unsigned alertTimer = 0;         // the host timer driving the blinking; 0 for none
};

// The host's command that is active (grayed) while it receives mail.
inline constexpr UINT kHostReceiveCommand = 32835;
// Blinking interval of the host timer, in milliseconds.
inline constexpr unsigned kIconBlinkMilliseconds = 1000;

// Takes the window class's icons the first time (each is taken only while not yet held)
// and loads the alert icon from module. Called for every folder window created.
void SaveFrameIcons(IconAlertState& alert, HWND window, HINSTANCE module);

// Starts the blinking afresh (a running alert is stopped first): the alert icon now, the
// saved icons and the alert icon in turn every second. Does nothing without saved icons.
void StartIconAlert(IconAlertState& alert, HWND window);

// Stops the blinking and puts the saved icons back. Does nothing without saved icons.
void StopIconAlert(IconAlertState& alert, HWND window);

// One step of the blinking timer: shows the other icon and returns 1, or returns 0 (the timer
// ends) once the alert was stopped.
int BlinkIconAlert(IconAlertState& alert, HWND window);

// The state of the host's receive command as the host reports it for the window: the
// window is sent WM_INITMENUPOPUP for the fourth submenu of its menu bar first, so the host
// updates it. Nothing when the menu bar, the submenu or the command is missing.
std::optional<UINT> HostReceiveCommandState(HWND window);

// Whether the receive command has any state flag set; a missing command counts as idle.
bool HostCommandActive(HWND window);
