// The commands of the plug-in's toolbar button: its popup menu (menu resource 114) and the
// popup's two items, the settings and the classifier's start page.
#pragma once

#include <windows.h>

#include "core/host_api.h"

struct ToolbarCommandNumbers;

// Registers the toolbar popup, the settings command and the open command with the host, in
// that order, each with parameter 0, and stores their numbers.
void RegisterToolbarCommands(const HostApi& host, ToolbarCommandNumbers& commands);

// The plug-in's settings as the host opens them (APCSetup): the folder catalogue is rebuilt
// for the window's account, then the sorting-rule list runs, owned by owner. Returns the
// dialog's result: 1 after OK, 2 after Cancel, 0 from the caption's close box, -1 when it
// could not be shown.
int RunSettings(HWND owner);

// Shows the popup menu of the toolbar button at the cursor, owned by window, its items
// carrying the registered settings and open commands; returns when the menu closed.
void ShowToolbarPopup(HWND window);
