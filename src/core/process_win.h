// The plug-in's process-wide objects, defined together: the state and the Win32
// platform services. The one instance is constructed when the library loads (before the
// library entry runs) and destroyed when it unloads.
#pragma once

#include "classifier/classifier_probe_win.h"
#include "classifier/http_client_win.h"
#include "config/profile_store_win.h"
#include "core/code_page_win.h"
#include "core/file_system_win.h"
#include "core/platform.h"
#include "core/plugin_state.h"
#include "core/startup_system_win.h"
#include "host/frame_hook_win.h"
#include "host/icon_alert_win.h"
#include "host/url_opener_win.h"
#include "ui/notification_window_win.h"
#include "ui/reclassify_progress_box_win.h"

struct PluginProcess {
    // The tally's counts are drawn in the hooked folder windows' trees.
    PluginProcess() { state.newMailTally.boldMarker = &frameHooks; }

    PluginState state;
    Win32ProfileStore profile;
    Win32FileSystem files;
    Win32CodePageConverter codePage;
    Platform platform{profile, files, codePage};
    Win32StartUpSystem startUpSystem;
    WinInetHttpClient http;
    ShellUrlOpener urlOpener;
    WinsockPortProber portProber;
    FrameHooks frameHooks;
    IconAlertState iconAlert;
    NotificationWindow notificationWindow{state.settings, profile, files};
    ReclassifyProgressBoxes selectedMailCorrection;
};

// The one instance.
PluginProcess& ThePluginProcess();
