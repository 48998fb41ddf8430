// What the progress box works through when several selected messages are corrected: the
// folder window's selection as message-file paths, and the counter it shows.
#pragma once

#include <string>
#include <vector>

#include "core/host_api.h"

// The selected messages of a folder window as full message-file paths (mailbox root,
// message name, ".CRV"), in the host's order. The selection is walked twice, first to
// count it, then to build the paths: a selection that ends earlier the second time gives
// only the paths built, one that grows gives no more than were counted.
std::vector<std::string> CollectSelectedMailPaths(const HostApi& host, HostWindow window);

// "POPFile訂正(n/count)", as a 100-byte buffer holds it.
std::string ProgressCounterText(int n, int count);
