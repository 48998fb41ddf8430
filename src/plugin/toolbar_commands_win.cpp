#include "plugin/toolbar_commands_win.h"

#include "host/toolbar_popup_win.h"
#include "mailbox/folder_catalogue.h"
#include "plugin/correction_menu.h"
#include "plugin/link_self_test_win.h"
#include "plugin/process_win.h"
#include "ui/settings_context.h"
#include "ui/sort_rule_list_dialog_win.h"

namespace {

// Host callbacks run from the host's message loop: nothing may escape into them.
void TW_STDCALL ToolbarMenuCommand(HostWindow window, intptr_t)
{
    try {
        PluginProcess& process = ThePluginProcess();
        ShowToolbarPopup(static_cast<HWND>(window),
                         static_cast<HINSTANCE>(process.state.pluginInstance),
                         process.frameHooks.commands);
    } catch (...) {
    }
}

void TW_STDCALL SettingsCommand(HostWindow window, intptr_t)
{
    try {
        RunSettings(static_cast<HWND>(window));
    } catch (...) {
    }
}

// Opens the URL setting, else the folder window's current mail's page.
void TW_STDCALL OpenClassifierStartPageCommand(HostWindow window, intptr_t)
{
    try {
        PluginProcess& process = ThePluginProcess();
        CorrectionContext context = process.correction();
        OpenClassifierStartPage(context, process.urlOpener, window);
    } catch (...) {
    }
}

// The link self-test of the URL setting for the folder window's account, owned by the window.
void TW_STDCALL LinkSelfTestCommand(HostWindow window, intptr_t)
{
    try {
        PluginProcess& process = ThePluginProcess();
        RunLinkSelfTest(process, static_cast<HWND>(window), window, process.state.settings.URL);
    } catch (...) {
    }
}

}  // namespace

ToolbarCommandNumbers RegisterToolbarCommands(const HostApi& host)
{
    ToolbarCommandNumbers commands;
    commands.toolbarMenuCommand = host.APARegistCallback(ToolbarMenuCommand, 0);
    commands.settingsCommand = host.APARegistCallback(SettingsCommand, 0);
    commands.openClassifierCommand = host.APARegistCallback(OpenClassifierStartPageCommand, 0);
    commands.linkSelfTestCommand = host.APARegistCallback(LinkSelfTestCommand, 0);
    return commands;
}

int RunSettings(HWND owner)
{
    PluginProcess& process = ThePluginProcess();
    PluginState& state = process.state;
    BuildFolderCatalogue(state.folderCatalogue, state.host, process.profile, owner);
    CorrectionContext correction = process.correction();
    // The other settings' "接続テスト" checks the typed address for this window's account.
    auto runLinkSelfTest = [&process, owner](void* dialog, const std::string& url) {
        RunLinkSelfTest(process, static_cast<HWND>(dialog), owner, url);
    };
    SettingsContext settings{state.pluginInstance,  state.settings,     state.sortRules,
                             state.headerRules,     state.sortRuleForm, state.headerRuleForm,
                             state.folderCatalogue, process.platform,   correction.classifier,
                             runLinkSelfTest};
    return static_cast<int>(ShowSortRuleListDialog(owner, settings));
}
