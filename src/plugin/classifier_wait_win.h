// APCFolderCreate's start-up wait over the process-wide state: the wait box while the
// classifier's POP3 port refuses connections, tested again every 100 ms by a host timer,
// at most once per run.
#pragma once

#include <windows.h>

// While the wait is pending and the classifier is not reachable for frame: clears the
// pending mark, starts the probing timer, runs the wait box until it ends (the classifier
// answered or the user cancelled) and stops the timer.
void RunClassifierWaitIfNeeded(HWND frame);
