// The dialog "Tarnwick 振り分けの理由" (template 117): the explanation of where a message went
// and why, one fact a line, in a read-only edit field so that it can be copied, and "閉じる".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Runs the dialog from module modally, owned by owner. 2 after "閉じる" or Escape, 0 after
// the close box, -1 when it could not be shown.
INT_PTR ShowWhyHereDialog(HINSTANCE module, HWND owner, const std::vector<std::string>& lines);
