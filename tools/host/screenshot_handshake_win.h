// The tours' side of the screenshot handshake with the demo scripts (scripts/demo_handshake.sh).
// A tour's handshake folder is "handshake" in its program folder: once a picture is fully shown
// the tour writes "ready-<name>" there and waits for the script's "shot-<name>"; at its end it
// writes "done".
#pragma once

#include <windows.h>

#include <string>

#include "mailbox_win.h"

// The handshake folder below programFolder, created, with its closing backslash.
inline std::string MakeHandshakeFolder(const std::string& programFolder)
{
    const std::string folder = programFolder + "handshake\\";
    CreateDirectories(folder);
    return folder;
}

// Announces picture name and waits (up to 60 s) until its screenshot was taken. Wine hands what
// a thread has drawn to the display while the thread looks at its queue, so the wait looks at
// it (without taking anything out) rather than sleeping; pump, when given, runs between the
// checks for windows of this thread that paint only when their messages are handled.
inline void HoldForScreenshot(const std::string& handshake, const std::string& name,
                              void (*pump)() = nullptr)
{
    constexpr ULONGLONG kShotWait = 60000;
    WriteFileBytes(handshake + "ready-" + name, name);
    const std::string shot = handshake + "shot-" + name;
    const ULONGLONG deadline = GetTickCount64() + kShotWait;
    while (GetFileAttributesA(shot.c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount64() < deadline) {
        if (pump != nullptr) {
            pump();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}

// Tells the script that the tour took its last picture.
inline void EndHandshake(const std::string& handshake)
{
    WriteFileBytes(handshake + "done", "done");
}
