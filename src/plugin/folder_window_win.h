// The plug-in at the host's folder windows: the entry points' work when a folder window is
// created, loads a folder or opens a view, the procedure and timers of the windows' hooks,
// and what the plug-in does when the user turns to such a window.
#pragma once

#include <windows.h>

#include "base/host_api.h"

// The window procedure of every hooked folder window.
LRESULT CALLBACK HookWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Host timer callbacks, parameter: the folder window. The box dismissal runs for the hook's
// life; the icon's blinking until the alert stops.
int TW_STDCALL AutoDismissTimer(HostWindow, intptr_t window);
int TW_STDCALL BlinkIconAlertTimer(HostWindow, intptr_t window);

// APCFolderCreate's first steps: hooks the folder window and gives the hook the window's
// account, when the host names one.
void CreateFrameHook(HWND frame);
// APCFolderLoad: the hook's account follows the window; with AfterSetBold the opened folder's
// count is cleared and the trees redrawn.
void FolderWindowLoaded(HWND frame, const char* folder);
// APCFolderPreOpenView: redraws the trees when a count was cleared since the last redraw.
void FolderWindowOpensView(HWND frame);
