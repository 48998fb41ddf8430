// The plug-in's process-wide state. There is exactly one instance (see process_win.h); it is
// created empty when the library loads and destroyed when it unloads. Code receives the
// parts it needs by reference rather than reaching for globals.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/host_api.h"
#include "classifier/classifier_probe.h"
#include "config/rules.h"
#include "config/settings.h"
#include "mailbox/folder_catalogue.h"
#include "mailbox/mailbox.h"
#include "mailbox/new_mail_tally.h"
#include "plugin/correct_mail.h"
#include "plugin/received_entry.h"
#include "ui/header_rule_editing.h"
#include "ui/sort_rule_editing.h"

struct PluginState {
    void* pluginInstance = nullptr;  // our own module: every resource loads from here
    HostApi host;
    bool windows6OrLater = false;
    void* selfReference = nullptr;   // extra reference on our own library; never released
    uint32_t summaryCommandId = 0;
    bool classifierWaitPending = false;
    bool iconChangeWanted = false;

    PluginSettings settings;
    SortRuleList sortRules;
    HeaderRuleList headerRules;
    ReceivedEntryList receivedEntries;
    std::size_t summaryDrainPosition = 0;  // next entry the running summary takes
    bool messageBoxOpen = false;           // the summary's message box is open
    ReclassifyState reclassify;
    ClassifierProbeState classifierProbe;

    AccountTitleCache accountTitles;
    FolderCatalogue folderCatalogue;
    NewMailTally newMailTally;
    bool boldRefreshPending = false;  // a folder count was cleared; the trees need redrawing

    // What the rule edit dialogs showed last; kept between openings for the next rule.
    SortRuleForm sortRuleForm;
    HeaderRuleForm headerRuleForm;
};
