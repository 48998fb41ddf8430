// Presses a button of the host's toolbar whose command shows a popup menu (the plug-in's
// button: the popup runs inside the press, then the host runs the command the popup posted)
// while user handles the popup from a second thread, as RunDriven does for boxes.
#pragma once

#include <windows.h>

#include <functional>

#include "driven_run_win.h"
#include "host_menu_win.h"
#include "replacement_host_win.h"

// user gets the shown popup menu window; the run fails with "the popup menu did not show"
// when none showed within 10 s.
inline DrivenRun RunToolbarPopup(ReplacementHost& host, int button,
                                 const std::function<void(DialogDriver&, HWND menu)>& user)
{
    return RunDriven(
        [&host, button] {
            const bool pressed = host.pressToolbarButton(button);
            host.pumpMessages();
            return pressed ? 1 : 0;
        },
        [&user](DialogDriver& driver) {
            HWND menu = WaitForShownPopupMenu(10000);
            if (menu == nullptr) {
                throw DialogDriver::StepFailed("the popup menu did not show");
            }
            user(driver, menu);
        });
}
