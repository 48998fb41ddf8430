// The link self-test as the user starts it: from the toolbar popup's "POPFileとの接続を確認"
// (the URL setting) or the other settings' "接続テスト" (the address typed there).
#pragma once

#include <windows.h>

#include <string>

#include "base/host_api.h"

struct PluginProcess;

// Gathers the inputs on this thread (accountWindow's account, url, the process's rules and
// pending corrections) and shows the report's dialog owned by owner, while the network checks
// run on a thread of their own with copies of everything they use; returns when the user
// closed the dialog.
void RunLinkSelfTest(PluginProcess& process, HWND owner, HostWindow accountWindow,
                     const std::string& url);
