// The plug-in's lifecycle, independent of Win32: attach, start-up and the shared
// copy-into-folder operation. The exported entry points (exports_win.cpp) hand off here.
#pragma once

#include <string>

#include "core/host_api.h"

struct PluginState;
struct Platform;
class FileSystem;

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

// What copyMailIntoFolder did.
struct CopyOutcome {
    bool copied = false;         // the copy is in the folder
    bool sourceDeleted = false;  // and the original is gone (only when asked for)
};

// Copies a message into a host folder through a temporary file: save with APASaveMail,
// import with APAImportFile, then (deleteSource) delete the original with APADeleteMail.
// Nothing is copied when saving or importing fails; the temporary file never outlives the
// call. A copy whose original the host refused to delete is reported as such, so that the
// caller can have it deleted otherwise rather than leave the message twice.
CopyOutcome copyMailIntoFolder(const HostApi& host, FileSystem& files, const std::string& mail,
                               const std::string& folder, bool deleteSource);

// copyMailIntoFolder; true when the copy was made.
bool copyMailToFolder(const HostApi& host, FileSystem& files, const std::string& mail,
                      const std::string& folder, bool deleteSource);
