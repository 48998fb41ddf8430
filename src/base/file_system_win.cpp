#include "base/file_system_win.h"

#include <windows.h>

#include <string>

namespace {
constexpr DWORD kFirstPathBuffer = MAX_PATH;
constexpr DWORD kLongestPathBuffer = 32768;  // the longest path the system accepts
}  // namespace

std::string Win32FileSystem::mainExecutablePath()
{
    // The name is cut when the buffer is too small, and the result then equals the size;
    // grow until it fits.
    for (DWORD size = kFirstPathBuffer; size <= kLongestPathBuffer; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) {
            return "";
        }
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
    }
    return "";
}

std::string Win32FileSystem::tempFolder()
{
    const DWORD needed = GetTempPathA(0, nullptr);
    if (needed == 0) {
        return "";
    }
    std::string buffer(needed, '\0');
    const DWORD length = GetTempPathA(needed, buffer.data());
    if (length == 0 || length >= needed) {
        return "";
    }
    buffer.resize(length);
    return buffer;
}

std::string Win32FileSystem::createTempFile(const std::string& folder, const std::string& prefix)
{
    // The service writes up to MAX_PATH bytes and creates the file (unique number 0).
    char name[MAX_PATH + 1] = {};
    if (GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, name) == 0) {
        return "";
    }
    return name;
}

std::optional<FileStamp> Win32FileSystem::fileStamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    FileStamp stamp;
    stamp.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.lastWrite = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

bool Win32FileSystem::fileExists(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

bool Win32FileSystem::deleteFile(const std::string& path)
{
    return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::replaceFile(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           FALSE;
}
