#include "plugin/frame_events_win.h"

#include "host/icon_alert_win.h"
#include "plugin/toolbar_commands_win.h"
#include "ui/notification_window_win.h"

void PluginFrameEvents::userTurnedTo(HWND window)
{
    StopIconAlert(iconAlert_, window);
}

void PluginFrameEvents::userClickedIn(HWND window)
{
    StopIconAlert(iconAlert_, window);
    notificationWindow_.closeIfVisible();
}

ToolbarCommandNumbers PluginFrameEvents::registerToolbarCommands()
{
    return RegisterToolbarCommands(host_);
}
