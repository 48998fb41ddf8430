#include "plugin/startup_system_win.h"

#include <windows.h>

#include <cstdint>
#include <vector>

int Win32StartUpSystem::systemMajorVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // the ANSI record, 148 bytes
    if (!GetVersionExA(&info)) {
        return 0;
    }
    return static_cast<int>(info.dwMajorVersion);
}

void Win32StartUpSystem::setApplicationId(const char* id)
{
    using SetAppIdFunction = HRESULT(WINAPI*)(PCWSTR);
    // The shell is only used when the host already has it loaded; we never load it ourselves.
    HMODULE shell = GetModuleHandleA("Shell32");
    if (shell == nullptr) {
        OutputDebugStringA("Shell32 GetModule ERROR");
        return;
    }
    auto setAppId = reinterpret_cast<SetAppIdFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell, "SetCurrentProcessExplicitAppUserModelID")));
    if (setAppId == nullptr) {
        OutputDebugStringA("SetAppID ERROR");
        return;
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, id, -1, nullptr, 0);
    if (length <= 0) {
        return;
    }
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    if (MultiByteToWideChar(CP_ACP, 0, id, -1, wide.data(), length) > 0) {
        setAppId(wide.data());
    }
}

void* Win32StartUpSystem::loadSelfReference(const char* relativePath)
{
    HMODULE module = LoadLibraryA(relativePath);
    // Like the old module-handle convention, values below 32 count as failure.
    if (reinterpret_cast<uintptr_t>(module) < 32) {
        return nullptr;
    }
    return module;
}
