// The test fixture of every Wine test: a ReplacementHost (the stand-in for the mail client)
// whose program folder is the folder of the running test executable, with the real plug-in
// at "<program folder>\Plugins\tarnwick.dll".
//
// One scenario per process. The plug-in takes an extra reference on itself at start-up and
// loads its settings once, and its INI file lives in "<program folder>\Plugins"; so a test
// that needs a fresh plug-in needs a fresh process in a folder of its own.
// tests/wine/run_wine_tests.sh runs every test that way: a copy of the executable and of the
// DLL in a new folder, one --gtest_filter per process.
//
// What a test usually does, all through host():
//   startPlugin()                              load, APCStartUp, APCFolderCreate(frame)
//   mailbox().addAccount/addFolder/addGroup/addMessage, host().openFolder(folderPath)
//   host().retrieve(account, {bytes...})       stores, APCRecFilter each, end of retrieval
//   host().setSelection({refs}), host().openView(ref)
//   BuiltMenu m = host().folderMenu();  host().chooseMenuItem(m, "label")
//   host().calls()/callsTo("APAMarkMail"), markOf(ref), copiesOf(ref), serverDeletes()
//   host().liveTimers(), host().stepTimers(), host().pumpMessagesFor(ms)
//   DialogWatcher box("caption");  ...code that shows it...;  box.waitFor(1)
// Any modal box the plug-in may show needs a DialogWatcher started before the call, or the
// test stops at its timeout.
//
// Texts: the sources are compiled with -fexec-charset=CP932, so narrow literals are
// Shift-JIS, as the plug-in and the host see them. Wrap values in Utf8() in failure messages.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/host_api.h"
#include "dialog_watcher_win.h"
#include "replacement_host_win.h"

// Shift-JIS bytes as UTF-8, for readable assertion output.
inline std::string Utf8(const std::string& sjis)
{
    return SjisToUtf8(sjis);
}

// The first top-level window of this process with that class (and title,
// unless null). Tests run side by side in one Wine session, so FindWindowA alone may find
// another test's window.
HWND FindWindowOfThisProcess(const char* className, const char* title = nullptr);

// Held while a test relies on the display's one mouse pointer (a real click, a popup menu
// shown at the pointer): tests run side by side, and another one's click must not land on
// this one's windows. Waits for the lock up to 60 s (then goes on without it).
class SharedPointerLock {
public:
    SharedPointerLock();
    ~SharedPointerLock();
    SharedPointerLock(const SharedPointerLock&) = delete;
    SharedPointerLock& operator=(const SharedPointerLock&) = delete;

private:
    void* mutex_ = nullptr;
    bool held_ = false;
};

// A message as the client stores it: header lines, an empty line, the body; CR LF endings.
std::string MailText(const std::vector<std::string>& headerLines, const std::string& body);

class HostFixture : public ::testing::Test {
protected:
    // A fresh host. While this process has not loaded the plug-in yet, the mailbox and
    // Plugins\tarnwick.ini left by an earlier run in the same folder are removed first.
    void SetUp() override;
    void TearDown() override;

    ReplacementHost& host() { return *host_; }

    // --- The plug-in.
    // Loads Plugins\tarnwick.dll into the host; false when the load was refused.
    bool loadPlugin();
    // loadPlugin, APCStartUp, APCFolderCreate(frame), as the client starts.
    bool startPlugin();
    const PluginEntryPoints& plugin() { return host_->plugin().entry(); }

    // --- The plug-in's INI file, Plugins\tarnwick.ini.
    std::string pluginIniPath() const { return host_->pluginIniPath(); }
    // Writes the file's bytes as given (write it before loading, for reload scenarios).
    void writePluginIni(const std::string& bytes);
    // GetPrivateProfileStringA of section/key, default "".
    std::string readPluginIni(const std::string& section, const std::string& key);
    // The file's bytes; nullopt when it does not exist.
    std::optional<std::string> pluginIniBytes();

    // --- Mailbox.
    Mailbox& mailbox() { return host_->mailbox(); }
    // An account in directory `directory` titled `title`; returns the directory name.
    std::string addAccount(const std::string& directory, const std::string& title);

    // --- Services as the plug-in resolves them: the decorated exports of this executable.
    HostApi hostServices();

    // --- Temporary files: this test's own temporary folder (TMP and TEMP point at it).
    const std::string& tempFolder() const { return tempFolder_; }
    std::vector<std::string> tempFiles() const;

private:
    std::unique_ptr<ReplacementHost> host_;
    std::string tempFolder_;
};
