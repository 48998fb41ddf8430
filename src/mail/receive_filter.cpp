#include "mail/receive_filter.h"

#include "config/profile_store.h"
#include "config/rule_store.h"
#include "core/platform.h"
#include "core/plugin.h"
#include "core/plugin_state.h"
#include "host/folder_catalogue.h"
#include "host/new_mail_tally.h"
#include "mail/body_summary.h"
#include "mail/mail_stream.h"

namespace {
constexpr const char* kAccountFile = "account.ini";
// The title is read into a 200-byte buffer, so at most 199 bytes of it are kept.
constexpr std::size_t kAccountTitleBufferSize = 200;
constexpr std::size_t kMailExtensionLength = 4;  // ".CRV"

// The bytes of text as a NUL-terminated buffer of bufferSize bytes would hold them.
std::string CutToBuffer(std::string_view text, std::size_t bufferSize)
{
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    const std::size_t room = bufferSize > 0 ? bufferSize - 1 : 0;
    return std::string(text.substr(0, room));
}

// The classification value of a logical header line, or nothing for any other header.
std::optional<std::string_view> ClassificationValue(std::string_view line)
{
    if (!HasPrefixNoCase(line, kClassificationHeader)) {
        return std::nullopt;
    }
    const std::string_view rest = line.substr(kClassificationHeader.size());
    return rest.substr(SkipBlanks(rest));
}

std::size_t MailboxLength(const HostApi& host)
{
    return HostText(host.APAGetMailbox()).size();
}

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

// A message no sorting rule applies to stays in the inbox, unmarked and unrecorded.
int LeaveInInbox(PluginState& state, const std::string& mailPath)
{
    if (state.settings.AfterSetBold) {
        CountSortedMail(state.newMailTally, state.host, mailPath, kInboxDisplayPath);
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

int MatchHeaderRule(const HeaderRuleList& rules, std::string_view line)
{
    for (std::size_t index = 0; index < rules.size(); ++index) {
        const HeaderRule& rule = rules[index];
        if (!HasPrefixNoCase(line, rule.header)) {
            continue;
        }
        const std::string_view rest = line.substr(rule.header.size());
        if (rest.substr(SkipBlanks(rest)).find(rule.search) != std::string_view::npos) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

std::optional<std::string> ClassifyMail(const std::string& mailPath, const HeaderRuleList& rules,
                                        std::size_t bufferSize)
{
    MailStream stream(mailPath);
    if (!stream.isOpen()) {
        return std::nullopt;
    }
    std::string line;
    bool afterSubject = false;
    for (;;) {
        if (ReadHeaderLine(stream, line) == 0) {
            // Some senders put one empty line after the subject; only that one is skipped.
            if (stream.atEnd() || !afterSubject) {
                return std::nullopt;
            }
            afterSubject = false;
            continue;
        }
        const int ruleIndex = MatchHeaderRule(rules, line);
        if (ruleIndex >= 0) {
            return CutToBuffer(rules[static_cast<std::size_t>(ruleIndex)].bucket, bufferSize);
        }
        if (const auto value = ClassificationValue(line)) {
            return CutToBuffer(*value, bufferSize);
        }
        afterSubject = HasPrefixNoCase(line, "Subject:");
    }
}

std::string ReadAccountTitle(const HostApi& host, ProfileStore& profile,
                             const std::string& mailPath)
{
    const std::size_t mailboxLength = MailboxLength(host);
    if (mailboxLength > mailPath.size()) {
        return std::string();
    }
    // The account directory ends at the first backslash byte below the mailbox.
    const std::size_t separator = mailPath.find('\\', mailboxLength);
    if (separator == std::string::npos) {
        return std::string();
    }
    const std::string accountFile = mailPath.substr(0, separator) + "\\" + kAccountFile;
    return profile.readString(accountFile, "Property", "Title", "", kAccountTitleBufferSize);
}

std::string MailReference(std::size_t mailboxLength, const std::string& mailPath)
{
    if (mailboxLength > mailPath.size()) {
        return std::string();
    }
    std::string reference = mailPath.substr(mailboxLength);
    if (reference.size() > kMailExtensionLength) {
        reference.resize(reference.size() - kMailExtensionLength);
    }
    return reference;
}

int FilterReceivedMail(PluginState& state, Platform& platform, const std::string& mailPath)
{
    const std::size_t mailboxLength = MailboxLength(state.host);
    const std::optional<std::string> bucket = ClassifyMail(mailPath, state.headerRules);
    if (!bucket) {
        return LeaveInInbox(state, mailPath);
    }
    const SortRule* rule = FindSortRule(state.sortRules, *bucket);
    if (rule == nullptr) {
        return LeaveInInbox(state, mailPath);
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
        ReadAccountTitle(state.host, platform.profile, mailPath) + "\\" + rule->folder;
    const std::string reference = MailReference(mailboxLength, mailPath);
    const Filing filing = FileMail(state.host, platform.files, *rule, reference, destination);
    const bool filed = filing.filed;

    if (filed) {
        state.receivedEntries.push_back(std::move(entry));
    }
    // The mark goes on even when the copy failed: the message then is still where it was.
    if (rule->mark > 0) {
        state.host.APAMarkMail(reference.c_str(), rule->mark, 1);
    }
    if (rule->action != kActionNothing) {
        state.iconChangeWanted = true;
    }
    if (!filed) {
        return 0;
    }
    if (settings.AfterSetBold) {
        CountSortedMail(state.newMailTally, state.host, mailPath, rule->folder);
    }
    return ResultBits(*rule, filing);
}
