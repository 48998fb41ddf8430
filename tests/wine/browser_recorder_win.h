// What the system's browser launcher is asked to open, for tests of the commands that open
// the classifier's pages in the browser.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "replacement_host_win.h"

// Every address the system's browser launcher is asked to open is appended, one per line,
// to "browser.log" beside this test's folder. Wine's launcher runs the programs listed in
// HKCU\Software\Wine\WineBrowser "Browsers"; the recorder is a shell script that Wine
// creates executable because its name ends in ".exe". All tests share one recorder and
// log, so each test looks only for addresses holding a marker of its own (such as its own
// classifier's port).
class BrowserRecorder {
public:
    BrowserRecorder()
    {
        const std::string shared = ProgramFolderOfThisProcess() + "..\\";
        logPath_ = shared + "browser.log";
        const std::string recorder = shared + "browser-recorder.exe";
        const std::string staging = ProgramFolderOfThisProcess() + "browser-recorder.exe";
        const std::string script = "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + UnixPath(logPath_) + "'\n";
        WriteFileBytes(staging, script);
        MoveFileExA(staging.c_str(), recorder.c_str(), MOVEFILE_REPLACE_EXISTING);
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            const std::string browsers = UnixPath(recorder);
            RegSetValueExA(key, "Browsers", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(browsers.c_str()),
                           static_cast<DWORD>(browsers.size() + 1));
            RegCloseKey(key);
        }
    }

    // The logged addresses that contain marker, once the first one has arrived or the wait
    // is over.
    std::vector<std::string> opened(const std::string& marker,
                                    std::chrono::milliseconds wait = std::chrono::seconds(15)) const
    {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            std::vector<std::string> found;
            const std::string log = ReadFileBytes(logPath_).value_or("");
            for (std::size_t start = 0; start < log.size();) {
                std::size_t end = log.find('\n', start);
                if (end == std::string::npos) {
                    end = log.size();
                }
                const std::string line = log.substr(start, end - start);
                if (line.find(marker) != std::string::npos) {
                    found.push_back(line);
                }
                start = end + 1;
            }
            if (!found.empty() || std::chrono::steady_clock::now() >= deadline) {
                return found;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }

private:
    static std::string UnixPath(const std::string& windowsPath)
    {
        using ToUnix = char*(CDECL*)(LPCWSTR);
        // Through a plain function pointer type: the looked-up address has no signature.
        const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
        char* unix = toUnix != nullptr ? toUnix(wide) : nullptr;
        if (unix == nullptr) {
            return "/dev/null";
        }
        std::string path = unix;
        HeapFree(GetProcessHeap(), 0, unix);
        return path;
    }

    std::string logPath_;
};
