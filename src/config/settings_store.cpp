#include "config/settings_store.h"

#include <cstddef>
#include <limits>

#include "base/profile_store.h"
#include "base/file_system.h"

namespace {
constexpr const char* kIniSuffix = "\\Plugins\\tarnwick.ini";
constexpr std::size_t kPathBufferSize = 260;  // every caller's buffer, MAX_PATH
constexpr std::size_t kValueBufferSize = 512;
constexpr const char* kSetup = "Setup";

// Blanks as the C library's isspace sees them in the "C" locale.
bool IsSpaceInCLocale(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string ReadSetup(ProfileStore& profile, const std::string& file, const char* key,
                      const char* defaultValue)
{
    return profile.readString(file, kSetup, key, defaultValue, kValueBufferSize);
}

bool ReadFlag(ProfileStore& profile, const std::string& file, const char* key,
              const char* defaultValue)
{
    return ProfileNumber(ReadSetup(profile, file, key, defaultValue)) != 0;
}

void WriteNumber(ProfileStore& profile, const std::string& file, const char* key, int32_t value)
{
    profile.writeString(file, kSetup, key, std::to_string(value));
}

void WriteFlag(ProfileStore& profile, const std::string& file, const char* key, bool value)
{
    profile.writeString(file, kSetup, key, value ? "1" : "0");
}
}  // namespace

int32_t ProfileNumber(const std::string& value)
{
    std::size_t i = 0;
    while (i < value.size() && IsSpaceInCLocale(value[i])) {
        ++i;
    }
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    // Accumulate towards the sign so that the most negative number fits; out-of-range
    // values stick at the limit, as the system's strtol does with a 32-bit long.
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    int64_t number = 0;
    for (; i < value.size() && IsDigit(value[i]); ++i) {
        const int digit = value[i] - '0';
        number = negative ? number * 10 - digit : number * 10 + digit;
        if (number > kMax) {
            return static_cast<int32_t>(kMax);
        }
        if (number < kMin) {
            return static_cast<int32_t>(kMin);
        }
    }
    return static_cast<int32_t>(number);
}

std::string pluginIniPath(FileSystem& files)
{
    // The program's name is fetched into what is left of the path buffer after the
    // suffix; the system keeps one byte of that for its terminating NUL.
    const std::size_t suffixLength = std::char_traits<char>::length(kIniSuffix);
    const std::size_t nameLimit = kPathBufferSize - suffixLength - 1;
    std::string path = files.mainExecutablePath();
    if (path.size() > nameLimit) {
        path.resize(nameLimit);
    }
    const std::size_t lastSeparator = path.rfind('\\');
    if (lastSeparator != std::string::npos) {
        path.resize(lastSeparator);
    }
    return path + kIniSuffix;
}

void loadSettings(PluginSettings& settings, ProfileStore& profile, FileSystem& files)
{
    const std::string file = pluginIniPath(files);
    settings.FromLength = ProfileNumber(ReadSetup(profile, file, "FromLength", "0"));

    settings.DispDialog = true;
    settings.Beep = false;
    settings.DispFrom = true;
    settings.DispSubject = true;

    const std::string checkConnect = ReadSetup(profile, file, "CheckConnect", "");
    if (checkConnect.empty()) {
        settings.CheckConnect = false;
        profile.writeString(file, kSetup, "CheckConnect", "0");
        profile.flush(file);
    } else {
        settings.CheckConnect = ProfileNumber(checkConnect) != 0;
    }

    settings.AfterSetBold = ReadFlag(profile, file, "AfterSetBold", "0");
    settings.SubjectEdit = ProfileNumber(ReadSetup(profile, file, "SubjectEdit", "0"));
    settings.URL = ReadSetup(profile, file, "URL", "");

    const std::string autoReceive = ReadSetup(profile, file, "AutoReceive", "0");
    settings.AutoReceive = !autoReceive.empty() && ProfileNumber(autoReceive) != 0;

    settings.winLeft = ProfileNumber(ReadSetup(profile, file, "winLeft", "0"));
    settings.winTop = ProfileNumber(ReadSetup(profile, file, "winTop", "0"));
    settings.winWidth = ProfileNumber(ReadSetup(profile, file, "winWidth", "400"));
}

void saveSettings(const PluginSettings& settings, ProfileStore& profile, FileSystem& files)
{
    const std::string file = pluginIniPath(files);
    WriteFlag(profile, file, "DispDialog", settings.DispDialog);
    WriteFlag(profile, file, "Beep", settings.Beep);
    WriteFlag(profile, file, "DispFrom", settings.DispFrom);
    WriteFlag(profile, file, "DispSubject", settings.DispSubject);
    WriteFlag(profile, file, "CheckConnect", settings.CheckConnect);
    WriteFlag(profile, file, "AfterSetBold", settings.AfterSetBold);
    WriteNumber(profile, file, "SubjectEdit", settings.SubjectEdit);
    profile.writeString(file, kSetup, "URL", settings.URL);
    WriteFlag(profile, file, "AutoReceive", settings.AutoReceive);
    profile.flush(file);
}

void saveWindowPosition(const PluginSettings& settings, ProfileStore& profile, FileSystem& files)
{
    const std::string file = pluginIniPath(files);
    WriteNumber(profile, file, "winTop", settings.winTop);
    WriteNumber(profile, file, "winLeft", settings.winLeft);
    WriteNumber(profile, file, "winWidth", settings.winWidth);
    profile.flush(file);
}

bool writeLearnedUrl(PluginSettings& settings, const std::string& address, ProfileStore& profile,
                     FileSystem& files)
{
    if (!settings.URL.empty() || address.empty()) {
        return false;
    }
    settings.URL = address;
    const std::string file = pluginIniPath(files);
    profile.writeString(file, kSetup, "URL", settings.URL);
    profile.flush(file);
    return true;
}
