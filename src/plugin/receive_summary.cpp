#include "plugin/receive_summary.h"

#include "base/platform.h"
#include "plugin/plugin_state.h"
#include "mailbox/folder_catalogue.h"
#include "mailbox/new_mail_tally.h"
#include "mail/header_display.h"
#include "base/sjis.h"

namespace {
constexpr const char* kTrashFolderSuffix = "\\trash.box";

// Start of the last character of text[0, end).
std::size_t LastCharacterStart(const std::string& text, std::size_t end)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < end;) {
        start = i;
        i += IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return start;
}

// Clears a flag however the scope is left.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

void WaitUntilIdle(const HostApi& host, HostActivity& activity, HostWindow window)
{
    while (HostIsBusy(host, activity, window)) {
        if (!activity.handleOneMessage()) {
            return;
        }
    }
}

// Counts an entry for its rule, when the rule (still) exists and asks for a message.
void RecordEntry(PluginState& state, const ReceivedEntry& entry, CodePageConverter& codePage,
                 NotificationRows& notification)
{
    if (entry.ruleIndex < 0 || static_cast<std::size_t>(entry.ruleIndex) >= state.sortRules.size()) {
        return;
    }
    SortRule& rule = state.sortRules[static_cast<std::size_t>(entry.ruleIndex)];
    if (rule.action != kActionShowMessage) {
        return;
    }
    ++rule.summaryCount;
    if (state.settings.AutoReceive) {
        notification.addRow({rule.bucket, ReorderSender(entry.from), entry.subject, entry.excerpt});
    } else {
        rule.summaryText +=
            SummaryMessageLine(entry.from, entry.subject, state.settings.FromLength, codePage);
    }
}

// Takes the recorded entries in order. The position is kept in the state, so that a run
// started from the message loop of this run's wait goes on where this one stood, and this
// one finds the list drained when it resumes.
void DrainEntries(PluginState& state, CodePageConverter& codePage, const SummaryServices& services,
                  HostWindow window)
{
    while (state.summaryDrainPosition < state.receivedEntries.size()) {
        WaitUntilIdle(state.host, services.activity, window);
        if (state.summaryDrainPosition >= state.receivedEntries.size()) {
            break;
        }
        const ReceivedEntry entry = state.receivedEntries[state.summaryDrainPosition++];
        RecordEntry(state, entry, codePage, services.notification);
    }
    state.receivedEntries.clear();
    state.summaryDrainPosition = 0;
}

// One block per rule with counted messages, in rule order; every rule's accumulators are
// reset. Returns the number of blocks.
int32_t CollectBlocks(SortRuleList& rules, std::string& text)
{
    int32_t blocks = 0;
    for (SortRule& rule : rules) {
        if (rule.summaryCount > 0) {
            text += SummaryHeaderLine(rule.bucket, rule.folder, rule.summaryCount);
            text += rule.summaryText;
            ++blocks;
        }
        rule.summaryCount = 0;
        rule.summaryText.clear();
    }
    return blocks;
}

void ResetAccumulators(SortRuleList& rules)
{
    for (SortRule& rule : rules) {
        rule.summaryCount = 0;
        rule.summaryText.clear();
    }
}

void StartIconIfWanted(PluginState& state, SummarySignals& signals, HostWindow window)
{
    if (state.iconChangeWanted) {
        signals.startIconAlert(window);
    }
    state.iconChangeWanted = false;
}
}  // namespace

bool HostIsBusy(const HostApi& host, HostActivity& activity, HostWindow window)
{
    return host.APAIsBusy() != 0 || activity.receiveCommandActive(window);
}

void EndRetrieval(PluginState& state, Platform& platform, SummarySignals& signals, HostWindow frame)
{
    if (state.settings.AfterSetBold) {
        std::string folder = HostText(state.host.APAFolderGetCurrentFolder(frame));
        if (!folder.empty()) {
            if (FindSjisChar(folder, '\\') == std::string_view::npos) {
                folder += kTrashFolderSuffix;
            }
            ClearFolderTally(state.newMailTally, state.boldRefreshPending, state.host,
                             platform.profile, HostText(state.host.APAGetAccount(frame)), folder);
        }
    }
    if (!state.receivedEntries.empty()) {
        // The icon request stays for the summary, which the host runs after its own work.
        signals.postCommand(frame, state.summaryCommandId);
        return;
    }
    StartIconIfWanted(state, signals, frame);
}

void RunReceiveSummary(PluginState& state, CodePageConverter& codePage,
                       const SummaryServices& services, HostWindow window)
{
    DrainEntries(state, codePage, services, window);

    const PluginSettings& settings = state.settings;
    std::string text;
    int32_t count = 0;
    if (settings.AutoReceive) {
        ResetAccumulators(state.sortRules);
        count = services.notification.rowCount();
    } else {
        count = CollectBlocks(state.sortRules, text);
    }

    if (count > 0 && settings.DispDialog) {
        if (settings.Beep) {
            services.signals.beep();
        }
        services.signals.startIconAlert(window);
        state.iconChangeWanted = false;
        if (settings.AutoReceive) {
            services.notification.show();
            services.signals.beep();
        } else if (!state.messageBoxOpen) {
            FlagGuard open(state.messageBoxOpen);
            services.signals.showMessageBox(window, text);
        }
        return;
    }
    if (count > 0 && settings.Beep) {
        services.signals.beep();
    }
    StartIconIfWanted(state, services.signals, window);
}

std::string SummaryHeaderLine(const std::string& bucket, const std::string& folder, int32_t count)
{
    const bool keptInInbox = folder == kInboxDisplayPath;
    const std::string& name = keptInInbox ? bucket : folder;
    const std::string number = std::to_string(count);
    const std::string rest = keptInInbox ? "]を " + number + " 件受信しました\n"
                                         : "]へ " + number + " 件移動しました\n";
    const std::size_t room = kSummaryHeaderLimit - 1 - rest.size();
    return "[" + name.substr(0, CutWithoutSplitting(name, room)) + rest;
}

std::string SummaryMessageLine(const std::string& from, const std::string& subject,
                               int32_t fromLength, CodePageConverter& codePage)
{
    std::string line;
    const std::optional<std::string> sender = FormatHeaderForDisplay(from, fromLength, codePage);
    if (sender) {
        line += "  " + *sender;
    }
    if (const std::optional<std::string> title = FormatHeaderForDisplay(subject, fromLength, codePage)) {
        line += sender ? " : " : "  ";
        line += *title;
        line += "\n";
    } else if (sender) {
        line += "\n";
    }
    return line;
}

std::string ReorderSender(const std::string& from)
{
    const std::size_t open = from.find('(');
    const std::size_t close = from.find(')');
    if (open == std::string::npos || close == std::string::npos || open >= close) {
        return from;
    }
    std::string sender = close - open - 1 > 0 ? from.substr(open + 1, close - open - 1) : from;
    if (open >= 2) {
        // Everything before "(" but its last character, normally the space before it.
        sender += " " + from.substr(0, LastCharacterStart(from, open));
    }
    return sender;
}
