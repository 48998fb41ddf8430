// The plug-in's side of the host's menu initialisation and the host commands its menu items
// carry. The exported APCFolderInitMenu and APCViewInitMenu hand off here.
#pragma once

#include <windows.h>


// APCFolderInitMenu: for menu identifier 102 adds the correction submenu and
// "POPFileを開く" to the folder window's menu; other identifiers change nothing. Returns 0.
int FolderInitMenu(HWND window, HMENU menu, int menuId);

// APCViewInitMenu: for identifier 201 adds the items to the menu's fourth submenu, for 202
// to the menu itself, and returns whether the last item was inserted (1 or 0); any other
// identifier changes nothing and is returned as it came.
int ViewInitMenu(HWND window, HMENU menu, int menuId);
