// What the plug-in does when the user turns to one of the host's folder windows, as the
// windows' hooks report it.
#pragma once

#include <windows.h>

#include "base/host_api.h"
#include "host/frame_hook_win.h"

struct IconAlertState;
class NotificationWindow;

// The user turning to a folder window stops the new-mail icon; a click in it also closes
// the notification window. The toolbar's commands are registered with the host here.
class PluginFrameEvents : public FrameHookEvents {
public:
    PluginFrameEvents(const HostApi& host, IconAlertState& iconAlert,
                      NotificationWindow& notificationWindow)
        : host_(host), iconAlert_(iconAlert), notificationWindow_(notificationWindow)
    {
    }

    void userTurnedTo(HWND window) override;
    void userClickedIn(HWND window) override;
    ToolbarCommandNumbers registerToolbarCommands() override;

private:
    const HostApi& host_;
    IconAlertState& iconAlert_;
    NotificationWindow& notificationWindow_;
};
