// The classifier link over this process's own Win32 services, as the plug-in builds its own,
// for running the plug-in's dialog code in-process (the templates come from the loaded
// plug-in's module). Its settings are read from this program folder's Plugins\tarnwick.ini.
#pragma once

#include "classifier/http_client_win.h"
#include "classifier/reclassify.h"
#include "config/profile_store_win.h"
#include "config/settings_store.h"
#include "core/code_page_win.h"
#include "core/file_system_win.h"
#include "core/platform.h"
#include "core/plugin_state.h"

struct InProcessClassifierLink {
    // Reads the Setup section as start-up does.
    void loadSettings() { ::loadSettings(state.settings, profile, files); }

    PluginState state;
    Win32ProfileStore profile;
    Win32FileSystem files;
    Win32CodePageConverter codePage;
    Platform platform{profile, files, codePage};
    WinInetHttpClient http;
    ClassifierContext context{state, platform, http};
};
