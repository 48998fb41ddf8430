// The classifier link's entry points over the process-wide state and the Win32 services
// kept beside it (core/process_win.h).
#pragma once

#include "classifier/reclassify.h"

// The classifier link over the process-wide state and services.
ClassifierContext ProcessClassifierContext();

// IsClassifierReachable for the start-up wait, over the process-wide probe state: window is
// the frame window being created, or null for the wait box's repeated tests.
bool IsProcessClassifierReachable(HostWindow window);
