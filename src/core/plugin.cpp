#include "core/plugin.h"

#include <cstdio>

#include "base/version.h"
#include "config/rule_store.h"
#include "config/settings_store.h"
#include "core/file_system.h"
#include "core/platform.h"
#include "core/plugin_state.h"

namespace {
constexpr const char* kPluginName = TARNWICK_PLUGIN_NAME;
constexpr const char* kApplicationId = "Corvane32";
constexpr const char* kSelfReferencePath = "Plugins/tarnwick.dll";
constexpr const char* kTempPrefix = "TARNWICK";
constexpr std::size_t kMessageBufferSize = 256;

// RAII guard that deletes a temporary file when the operation ends, whatever the result.
class TempFileGuard {
public:
    TempFileGuard(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
    ~TempFileGuard() { files_.deleteFile(path_); }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

private:
    FileSystem& files_;
    std::string path_;
};
}  // namespace

const char* PluginName()
{
    return kPluginName;
}

std::string MissingServiceMessage()
{
    char buffer[kMessageBufferSize];
    std::snprintf(buffer, sizeof buffer,
                  "プラグイン「%s」でエラーが発生しました。\r\nCorvane32とプラグインのバージョンを確認してください",
                  kPluginName);
    return buffer;
}

int RunStartUp(PluginState& state, Platform& platform, StartUpSystem& system,
               HostCommandProc summaryCallback)
{
    state.windows6OrLater = system.systemMajorVersion() >= 6;
    if (state.windows6OrLater) {
        system.setApplicationId(kApplicationId);
    }
    state.selfReference = system.loadSelfReference(kSelfReferencePath);
    if (state.host.APARegistCallback != nullptr && summaryCallback != nullptr) {
        state.summaryCommandId = state.host.APARegistCallback(summaryCallback, 0);
    }
    ResetReclassifyState(state.reclassify);
    loadSortRules(state.sortRules, platform.profile, platform.files);
    loadSettings(state.settings, platform.profile, platform.files);
    loadHeaderRules(state.headerRules, platform.profile, pluginIniPath(platform.files));
    if (state.settings.CheckConnect) {
        state.classifierWaitPending = true;
    }
    return 1;
}

CopyOutcome copyMailIntoFolder(const HostApi& host, FileSystem& files, const std::string& mail,
                               const std::string& folder, bool deleteSource)
{
    CopyOutcome outcome;
    const std::string tempFile = files.createTempFile(files.tempFolder(), kTempPrefix);
    if (tempFile.empty()) {
        return outcome;
    }
    TempFileGuard guard(files, tempFile);
    if (host.APASaveMail(mail.c_str(), tempFile.c_str(), 0, 0) == 0) {
        return outcome;
    }
    if (host.APAImportFile(tempFile.c_str(), folder.c_str(), 0) == 0) {
        return outcome;
    }
    outcome.copied = true;
    if (deleteSource) {
        outcome.sourceDeleted = host.APADeleteMail(mail.c_str()) != 0;
    }
    return outcome;
}

bool copyMailToFolder(const HostApi& host, FileSystem& files, const std::string& mail,
                      const std::string& folder, bool deleteSource)
{
    return copyMailIntoFolder(host, files, mail, folder, deleteSource).copied;
}
