// The Win32 services of the classifier link, one instance per process beside the
// plug-in's state (core/process_win.h), and the process-wide entry points built on them.
#pragma once

#include "classifier/classifier_probe_win.h"
#include "classifier/http_client_win.h"
#include "classifier/reclassify.h"
#include "host/url_opener_win.h"

struct ClassifierServices {
    WinInetHttpClient http;
    ShellUrlOpener urlOpener;
    WinsockPortProber portProber;
};

// The one instance.
ClassifierServices& TheClassifierServices();

// The classifier link over the process-wide state and services.
ClassifierContext ProcessClassifierContext();

// IsClassifierReachable for the start-up wait, over the process-wide probe state: window is
// the frame window being created, or null for the wait box's repeated tests.
bool IsProcessClassifierReachable(HostWindow window);
