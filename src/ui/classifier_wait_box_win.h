// The wait box (template 103) shown while the plug-in waits at start-up for the classifier:
// the plug-in's icon, "POPFile起動待機中。。。" and "ｷｬﾝｾﾙ". Escape does nothing.
#pragma once

#include <windows.h>

// Runs the box from module modally, without owner window, until it ends: 1004 after
// "ｷｬﾝｾﾙ", 0 when it was closed (closeClassifierWaitBox or the close box).
INT_PTR RunClassifierWaitBox(HINSTANCE module);

// Asks the open wait box to close (WM_CLOSE). Does nothing while no wait box is open, so a
// late request can never reach a window that has since taken over the box's handle.
void closeClassifierWaitBox();
