#include "host_fixture.h"

#include <windows.h>

namespace {

bool PluginLoadedInThisProcess()
{
    return GetModuleHandleA("tarnwick.dll") != nullptr;
}

std::vector<std::string> FileNamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(data.cFileName);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

}  // namespace

HWND FindWindowOfThisProcess(const char* className, const char* title)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, className, title); window != nullptr;
         window = FindWindowExA(nullptr, window, className, title)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) {
            return window;
        }
    }
    return nullptr;
}

SharedPointerLock::SharedPointerLock()
    : mutex_(CreateMutexA(nullptr, FALSE, "TarnwickWineTestsPointer"))
{
    if (mutex_ != nullptr) {
        const DWORD waited = WaitForSingleObject(static_cast<HANDLE>(mutex_), 60000);
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
}

SharedPointerLock::~SharedPointerLock()
{
    if (held_) {
        ReleaseMutex(static_cast<HANDLE>(mutex_));
    }
    if (mutex_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(mutex_));
    }
}

std::string MailText(const std::vector<std::string>& headerLines, const std::string& body)
{
    std::string text;
    for (const std::string& line : headerLines) {
        text += line + "\r\n";
    }
    return text + "\r\n" + body;
}

void HostFixture::SetUp()
{
    const std::string programFolder = ProgramFolderOfThisProcess();
    if (!PluginLoadedInThisProcess()) {
        RemoveDirectoryTree(programFolder + "MailBox");
        DeleteFileA((programFolder + "Plugins\\tarnwick.ini").c_str());
    }
    tempFolder_ = programFolder + "Temp\\";
    RemoveDirectoryTree(tempFolder_);
    CreateDirectories(tempFolder_);
    SetEnvironmentVariableA("TMP", tempFolder_.c_str());
    SetEnvironmentVariableA("TEMP", tempFolder_.c_str());
    host_ = std::make_unique<ReplacementHost>(programFolder);
}

void HostFixture::TearDown()
{
    host_.reset();
}

bool HostFixture::loadPlugin()
{
    return host_->loadPlugin();
}

bool HostFixture::startPlugin()
{
    if (!loadPlugin()) {
        return false;
    }
    host_->startUp();
    host_->createFolderWindow();
    return true;
}

void HostFixture::writePluginIni(const std::string& bytes)
{
    CreateDirectories(host_->programFolder() + "Plugins");
    ASSERT_TRUE(WriteFileBytes(pluginIniPath(), bytes)) << pluginIniPath();
}

std::string HostFixture::readPluginIni(const std::string& section, const std::string& key)
{
    return ReadProfileString(pluginIniPath(), section, key);
}

std::optional<std::string> HostFixture::pluginIniBytes()
{
    return ReadFileBytes(pluginIniPath());
}

std::string HostFixture::addAccount(const std::string& directory, const std::string& title)
{
    AccountSettings settings;
    settings.title = title;
    return mailbox().addAccount(directory, settings);
}

HostApi HostFixture::hostServices()
{
    HostApi api;
    HMODULE self = GetModuleHandleA(nullptr);
    ResolveHostApi(api, self, [self](const std::string& name) -> void* {
        return reinterpret_cast<void*>(GetProcAddress(self, name.c_str()));
    });
    return api;
}

std::vector<std::string> HostFixture::tempFiles() const
{
    return FileNamesIn(tempFolder_);
}
