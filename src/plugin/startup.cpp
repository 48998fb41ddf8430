#include "plugin/startup.h"

#include <cstdio>

#include "base/version.h"
#include "config/rule_store.h"
#include "config/settings_store.h"
#include "base/platform.h"
#include "plugin/plugin_state.h"

namespace {
constexpr const char* kPluginName = TARNWICK_PLUGIN_NAME;
constexpr const char* kApplicationId = "Corvane32";
constexpr const char* kSelfReferencePath = "Plugins/tarnwick.dll";
constexpr std::size_t kMessageBufferSize = 256;
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
