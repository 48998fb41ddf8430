#include "plugin/receive_filter.h"

#include <optional>
#include <string_view>

#include "base/platform.h"
#include "config/rule_store.h"
#include "host/folder_tree.h"
#include "mail/body_summary.h"
#include "mail/classification.h"
#include "mail/mail_text.h"
#include "mailbox/folder_catalogue.h"
#include "mailbox/mailbox.h"
#include "mailbox/new_mail_tally.h"
#include "plugin/plugin_state.h"

namespace {

// How the filing of a message went.
struct Filing {
    bool filed = false;
    bool hostMustDelete = false;  // the received copy is to go, and only the host can remove it
};

// Leaves the message in the inbox or copies it into the rule's folder of its account.
Filing FileMail(const HostApi& host, FileSystem& files, const SortRule& rule,
                const std::string& reference, const std::string& destination)
{
    if (rule.duplicateThenHostDeletes) {
        // The host deletes the received copy itself when it sees the result bit 4.
        const bool copied = copyMailToFolder(host, files, reference, destination, false);
        return Filing{copied, copied};
    }
    if (rule.folder == kInboxDisplayPath) {
        return Filing{true, false};
    }
    // Should the host refuse to delete the received copy after the import, it is asked to
    // delete it itself, as for a duplicate, so that the message is not left twice.
    const CopyOutcome outcome = copyMailIntoFolder(host, files, reference, destination, true);
    return Filing{outcome.copied, outcome.copied && !outcome.sourceDeleted};
}

int ResultBits(const SortRule& rule, const Filing& filing)
{
    return (filing.hostMustDelete ? kResultHostDeletesCopy : 0) |
           (rule.deleteFromServer ? kResultDeleteFromServer : 0);
}

// Counts a message sorted into the folder displayPath and shows that folder in bold.
void CountAndBold(PluginState& state, FolderBoldMarker& folderTrees, const std::string& mailPath,
                  const std::string& displayPath)
{
    const std::string accountDir = AccountDirOfMail(MailboxRoot(state.host), mailPath);
    if (CountSortedMail(state.newMailTally, accountDir, displayPath)) {
        folderTrees.markFolderBold(accountDir, displayPath);
    }
}

// A message no sorting rule applies to stays in the inbox, unmarked and unrecorded.
int LeaveInInbox(PluginState& state, FolderBoldMarker& folderTrees, const std::string& mailPath)
{
    if (state.settings.AfterSetBold) {
        CountAndBold(state, folderTrees, mailPath, kInboxDisplayPath);
    }
    state.iconChangeWanted = true;
    return 0;
}

std::string HeaderValueOrEmpty(const std::string& mailPath, std::string_view name, bool wanted)
{
    if (!wanted) {
        return std::string();
    }
    return FindHeaderValue(mailPath, name).value_or(std::string());
}

}  // namespace

int FilterReceivedMail(PluginState& state, Platform& platform, FolderBoldMarker& folderTrees,
                       const std::string& mailPath)
{
    const std::size_t mailboxLength = MailboxRoot(state.host).size();
    const std::optional<std::string> bucket = ClassifyMail(mailPath, state.headerRules);
    if (!bucket) {
        return LeaveInInbox(state, folderTrees, mailPath);
    }
    const SortRule* rule = FindSortRule(state.sortRules, *bucket);
    if (rule == nullptr) {
        return LeaveInInbox(state, folderTrees, mailPath);
    }
    const PluginSettings& settings = state.settings;
    ReceivedEntry entry;
    entry.from = HeaderValueOrEmpty(mailPath, "From:", settings.DispDialog && settings.DispFrom);
    entry.subject =
        HeaderValueOrEmpty(mailPath, "Subject:", settings.DispDialog && settings.DispSubject);
    if (settings.AutoReceive && rule->action == kActionShowMessage) {
        entry.excerpt = ExtractBodySummary(mailPath, platform.codePage);
    }
    entry.ruleIndex = rule->position;

    const std::string destination =
        FolderDestination(ReadAccountTitle(state.host, platform.profile, mailPath), rule->folder);
    const std::string reference = MailReference(mailboxLength, mailPath);
    const Filing filing = FileMail(state.host, platform.files, *rule, reference, destination);

    if (filing.filed) {
        state.receivedEntries.push_back(std::move(entry));
    }
    // The mark goes on even when the copy failed: the message then is still where it was.
    if (rule->mark > 0) {
        state.host.APAMarkMail(reference.c_str(), rule->mark, 1);
    }
    if (rule->action != kActionNothing) {
        state.iconChangeWanted = true;
    }
    if (!filing.filed) {
        return 0;
    }
    if (settings.AfterSetBold) {
        CountAndBold(state, folderTrees, mailPath, rule->folder);
    }
    return ResultBits(*rule, filing);
}
