// Runs a call that shows the plug-in's modal boxes on this thread (an entry point, a menu
// command) while user drives them from a second thread with a DialogDriver, as a user would.
// After a failed step, or when the call has not returned 10 s after the user is done, every
// box still open is ended (Cancel, No or the close box, whichever it answers) so that the
// call returns and the test can report what went wrong.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialog_driver_win.h"

struct DrivenRun {
    int result = -99;
    std::string failure;  // the first step that did not see what it waited for
};

inline DrivenRun RunDriven(const std::function<int()>& call,
                           const std::function<void(DialogDriver&)>& user,
                           DWORD stepTimeoutMs = 10000)
{
    DrivenRun run;
    std::atomic<bool> returned{false};
    std::thread driverThread([&] {
        DialogDriver driver(stepTimeoutMs);
        try {
            user(driver);
        } catch (const std::exception& failure) {
            run.failure = failure.what();
        }
        const ULONGLONG deadline = GetTickCount64() + 10000;
        while (!returned && run.failure.empty() && GetTickCount64() < deadline) {
            Sleep(20);
        }
        if (!returned && run.failure.empty()) {
            run.failure = "the call did not return after the last step";
        }
        while (!returned) {
            for (HWND dialog : DialogDriver::openDialogs()) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                PostMessageA(dialog, WM_COMMAND, IDNO, 0);
                PostMessageA(dialog, WM_CLOSE, 0, 0);
            }
            Sleep(50);
        }
    });
    run.result = call();
    returned = true;
    driverThread.join();
    return run;
}

// The texts of a box's "Static" text controls, in child order (an icon's "text" is its
// resource number).
inline std::vector<std::string> StaticTexts(HWND box)
{
    std::vector<std::string> texts;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const bool icon = (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        const std::string text = DialogDriver::textOf(child);
        if (DialogDriver::classOf(child) == "Static" && !icon && !text.empty()) {
            texts.push_back(text);
        }
    }
    return texts;
}
