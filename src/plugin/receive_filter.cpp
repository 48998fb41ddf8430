#include "plugin/receive_filter.h"

#include <optional>
#include <string_view>

#include "base/platform.h"
#include "config/rule_store.h"
#include "host/folder_tree.h"
#include "mail/received_mail.h"
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

// What the filter takes from the message file, read with one opening that ends before the
// message is filed (an open file could not be deleted).
struct ReadMessage {
    std::optional<std::string> bucket;
    const SortRule* rule = nullptr;
    ReceivedEntry entry;
};

ReadMessage ReadReceivedMessage(const PluginState& state, CodePageConverter& codePage,
                                const std::string& mailPath)
{
    const PluginSettings& settings = state.settings;
    ReceivedMail mail(mailPath);
    const ReceivedHeader header =
        mail.readHeader(state.headerRules, settings.DispDialog && settings.DispFrom,
                        settings.DispDialog && settings.DispSubject);
    ReadMessage message;
    message.bucket = header.bucket;
    message.rule = header.bucket ? FindSortRule(state.sortRules, *header.bucket) : nullptr;
    if (message.rule == nullptr) {
        return message;
    }
    message.entry.from = header.from.value_or(std::string());
    message.entry.subject = header.subject.value_or(std::string());
    if (settings.AutoReceive && message.rule->action == kActionShowMessage) {
        message.entry.excerpt = mail.excerpt(codePage);
    }
    message.entry.ruleIndex = message.rule->position;
    return message;
}

}  // namespace

int FilterReceivedMail(PluginState& state, Platform& platform, FolderBoldMarker& folderTrees,
                       const std::string& mailPath)
{
    const std::size_t mailboxLength = MailboxRoot(state.host).size();
    ReadMessage message = ReadReceivedMessage(state, platform.codePage, mailPath);
    if (message.rule == nullptr) {
        return LeaveInInbox(state, folderTrees, mailPath);
    }
    const SortRule& rule = *message.rule;
    const std::string destination = FolderDestination(
        state.accountTitles.titleOf(state.host, platform.profile, platform.files, mailPath),
        rule.folder);
    const std::string reference = MailReference(mailboxLength, mailPath);
    const Filing filing = FileMail(state.host, platform.files, rule, reference, destination);

    if (filing.filed) {
        state.receivedEntries.push_back(std::move(message.entry));
    }
    // The mark goes on even when the copy failed: the message then is still where it was.
    if (rule.mark > 0) {
        state.host.APAMarkMail(reference.c_str(), rule.mark, 1);
    }
    if (rule.action != kActionNothing) {
        state.iconChangeWanted = true;
    }
    if (!filing.filed) {
        return 0;
    }
    if (state.settings.AfterSetBold) {
        CountAndBold(state, folderTrees, mailPath, rule.folder);
    }
    return ResultBits(rule, filing);
}
