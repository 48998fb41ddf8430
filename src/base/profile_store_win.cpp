#include "base/profile_store_win.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {
// The services take the buffer size as a DWORD.
DWORD BufferSizeArgument(std::size_t bufferSize)
{
    return static_cast<DWORD>(std::min<std::size_t>(bufferSize, std::numeric_limits<DWORD>::max()));
}
}  // namespace

std::string Win32ProfileStore::readString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& defaultValue,
                                          std::size_t bufferSize)
{
    if (bufferSize == 0) {
        return "";
    }
    // Zero-filled: when a converted value does not fit, the system may stop short of the
    // end and leave bytes unwritten before the NUL it puts at the last position.
    std::string buffer(bufferSize, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                             BufferSizeArgument(bufferSize), file.c_str());
    buffer[bufferSize - 1] = '\0';
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

std::vector<std::string> Win32ProfileStore::readKeyNames(const std::string& file,
                                                         const std::string& section,
                                                         std::size_t bufferSize)
{
    if (bufferSize < 2) {
        return {};
    }
    // Exactly bufferSize bytes, so that a list that does not fit is cut by the system
    // where the plug-in's fixed buffer would cut it.
    std::string buffer(bufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                                  BufferSizeArgument(bufferSize), file.c_str());
    return SplitKeyList(buffer.data(), std::min<std::size_t>(length, bufferSize - 1));
}

void Win32ProfileStore::writeString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value)
{
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

void Win32ProfileStore::deleteSection(const std::string& file, const std::string& section)
{
    WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str());
}

void Win32ProfileStore::flush(const std::string& file)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}
