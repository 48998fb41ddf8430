// What the settings dialogs show and change, handed to them by reference: the settings and
// both rule lists with the INI file they are stored in, the rule forms kept between
// openings, the account's folders and the link to the classifier for its buckets.
#pragma once

#include <functional>
#include <string>

#include "config/rules.h"

struct ClassifierContext;
struct FolderCatalogue;
struct HeaderRuleForm;
struct Platform;
struct PluginSettings;
struct SortRuleForm;

struct SettingsContext {
    void* module;  // the plug-in's own module: every template and bitmap loads from it
    PluginSettings& settings;
    SortRuleList& sortRules;
    HeaderRuleList& headerRules;
    SortRuleForm& sortRuleForm;
    HeaderRuleForm& headerRuleForm;
    const FolderCatalogue& folderCatalogue;
    Platform& platform;
    ClassifierContext& classifier;
    // Runs the link self-test of an address typed in, owned by the given dialog window;
    // returns once the user closed its report.
    std::function<void(void* owner, const std::string& url)> runLinkSelfTest;
};
