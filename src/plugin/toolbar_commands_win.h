// The commands of the plug-in's toolbar button and its popup menu, and the settings as the
// host opens them.
#pragma once

#include <windows.h>

#include "base/host_api.h"
#include "host/frame_hook_win.h"

// Registers the toolbar popup, the settings command, the open command and the link
// self-test with the host, in that order, each with parameter 0; returns their numbers.
ToolbarCommandNumbers RegisterToolbarCommands(const HostApi& host);

// The plug-in's settings as the host opens them (APCSetup): the folder catalogue is rebuilt
// for the window's account, then the sorting-rule list runs, owned by owner. Returns the
// dialog's result: 1 after OK, 2 after Cancel, 0 from the caption's close box, -1 when it
// could not be shown.
int RunSettings(HWND owner);
