// The plug-in as the mail client loads it: "<program folder>\Plugins\tarnwick.dll", loaded with
// LoadLibraryA, and its thirteen entry points looked up by their plain names.
//
// What the plug-in may rely on from the loading side:
//   - it is loaded by the host's main thread, after the host's own image (which exports the
//     services) is in place, so its library entry can resolve the services;
//   - a library entry that returns false makes the load fail, and the host then runs without
//     the plug-in;
//   - the host never unloads it while the process runs (the plug-in also keeps a reference
//     of its own), so its window procedures and timer callbacks stay valid.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The entry points. Those whose result the client ignores are declared returning int: the
// value is not looked at.
struct PluginEntryPoints {
    const char*(WINAPI* APCGetPlugName)() = nullptr;
    int(WINAPI* APCVersionInfo)(HWND owner) = nullptr;
    int(WINAPI* APCSetup)(HWND owner) = nullptr;
    int(WINAPI* APCStartUp)(int unused) = nullptr;
    void(WINAPI* APCCleanUp)() = nullptr;
    int(WINAPI* APCRecFilter)(const char* mailPath) = nullptr;
    int(WINAPI* APCFolderCreate)(HWND frame) = nullptr;
    int(WINAPI* APCFolderLoad)(HWND frame, const char* folder) = nullptr;
    int(WINAPI* APCFolderPreOpenView)(HWND frame, int unused) = nullptr;
    int(WINAPI* APCFolderInitMenu)(HWND window, HMENU menu, int menuId) = nullptr;
    int(WINAPI* APCViewInitMenu)(HWND view, HMENU menu, int menuId) = nullptr;
    void(WINAPI* APCSendInitMenu)(int, int, int) = nullptr;
    int(WINAPI* APCFolderEndRetrieve)(HWND frame) = nullptr;
};

class PluginLibrary {
public:
    PluginLibrary() = default;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Loads the library at path and resolves every entry point. False when the load failed
    // (see loadError) or an entry point is missing (see missingEntryPoints).
    bool load(const std::string& path);

    bool loaded() const { return module_ != nullptr; }
    HMODULE module() const { return module_; }
    // GetLastError after a failed LoadLibraryA; 0 when the load succeeded.
    DWORD loadError() const { return loadError_; }
    const std::vector<std::string>& missingEntryPoints() const { return missing_; }

    const PluginEntryPoints& entry() const { return entry_; }

private:
    HMODULE module_ = nullptr;
    DWORD loadError_ = 0;
    std::vector<std::string> missing_;
    PluginEntryPoints entry_;
};
