// The plug-in's process-wide objects, defined together: the state and the Win32 platform
// services and windows around it. The one instance is constructed when the library loads
// (before the library entry runs) and destroyed when it unloads. Only the plug-in's entry
// points and callbacks reach it, through ThePluginProcess(); they hand references down.
#pragma once

#include "base/code_page_win.h"
#include "base/file_system_win.h"
#include "base/platform.h"
#include "base/profile_store_win.h"
#include "classifier/classifier_probe_win.h"
#include "classifier/http_client_win.h"
#include "host/frame_hook_win.h"
#include "host/icon_alert_win.h"
#include "host/url_opener_win.h"
#include "plugin/correct_mail.h"
#include "plugin/folder_window_win.h"
#include "plugin/frame_events_win.h"
#include "plugin/progress_box_correction_win.h"
#include "plugin/plugin_state.h"
#include "plugin/startup_system_win.h"
#include "ui/notification_window_win.h"

struct PluginProcess {
    PluginState state;
    Win32ProfileStore profile;
    Win32FileSystem files;
    Win32CodePageConverter codePage;
    Platform platform{profile, files, codePage};
    Win32StartUpSystem startUpSystem;
    WinInetHttpClient http;
    ShellUrlOpener urlOpener;
    WinsockPortProber portProber;
    IconAlertState iconAlert{state.host, state.windows6OrLater, BlinkIconAlertTimer};
    NotificationWindow notificationWindow{state.settings, profile, files};
    PluginFrameEvents frameEvents{state.host, iconAlert, notificationWindow};
    FrameHooks frameHooks{HookWindowProc,
                          {state.host, state.pluginInstance, AutoDismissTimer, frameEvents}};
    ProgressBoxCorrection selectedMailCorrection{state.host, state.pluginInstance};

    // What a correction works with, over this process's objects.
    CorrectionContext correction() { return {state, platform, http, &selectedMailCorrection}; }
};

// The one instance.
PluginProcess& ThePluginProcess();
