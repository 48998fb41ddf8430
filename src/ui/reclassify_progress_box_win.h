// The progress box (template 115) that corrects several selected messages one after the
// other: the plug-in's icon, the counter "POPFile訂正(n/count)" and "ｷｬﾝｾﾙ". One message is
// corrected per step; a 100 ms host timer starts each step, so the host stays responsive in
// between. Escape does nothing; "ｷｬﾝｾﾙ" and the close box stop after the message being
// corrected.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "base/host_api.h"

// Runs the box from module, owned by the folder window: the window's selected messages,
// collected as the box opens, are handed to correctOne one per step. Returns once every
// message was handed over, or the user stopped early.
void RunReclassifyProgressBox(HINSTANCE module, const HostApi& host, HWND window,
                              const std::function<void(const std::string& mailPath)>& correctOne);
