// The plug-in's lifecycle, independent of Win32: attach, start-up and the shared
// copy-into-folder operation. The exported entry points (exports_win.cpp) hand off here.
#pragma once

#include <string>

#include "base/host_api.h"

struct PluginState;
struct Platform;

// "Tarnwick Version 0.30", valid at any time.
const char* PluginName();

// The refusal shown when the host lacks a service, formatted as into a 256-byte buffer.
std::string MissingServiceMessage();
inline constexpr const char* kMissingServiceCaption = "プラグインエラー";

// System steps of start-up that need Win32; the product implements them in
// startup_system_win.cpp, tests record them.
class StartUpSystem {
public:
    virtual ~StartUpSystem() = default;
    // Major version of the running system.
    virtual int systemMajorVersion() = 0;
    // Gives the host process the application user model identifier, if the shell allows.
    virtual void setApplicationId(const char* id) = 0;
    // Loads our own library again by its relative path; null when that failed.
    virtual void* loadSelfReference(const char* relativePath) = 0;
};

// The start-up sequence, in its fixed order; no step's failure stops it. Returns 1.
int RunStartUp(PluginState& state, Platform& platform, StartUpSystem& system,
               HostCommandProc summaryCallback);
