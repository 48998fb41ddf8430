// The about box (template 100): the plug-in's icon, name and version, and "OK".
#pragma once

#include <windows.h>

// Runs the about box from module modally, owned by owner. 1 after "OK", 2 after Escape or the close
// box, -1 when the box could not be shown.
INT_PTR ShowAboutDialog(HINSTANCE module, HWND owner);
