// APCFolderCreate's start-up wait over the process-wide state: the wait box while the
// classifier's POP3 port refuses connections, tested again every 100 ms.
#pragma once

#include <windows.h>

// Shows the wait box for frame when the wait is still pending and the classifier is not
// reachable, and returns once the box has ended and its timer is stopped.
void RunClassifierWaitIfNeeded(HWND frame);
