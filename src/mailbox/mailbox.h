// Where the host keeps its mail, as paths: the mailbox root with one directory per account,
// message files named "<number>.CRV", and the host's reference for a message (its path
// below the root without the extension). Also the account's title and copying a message
// into a folder, which every filing of a message needs.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/host_api.h"

class ProfileStore;

// The extension of every stored message file.
inline constexpr const char* kMailExtension = ".CRV";
// The account's settings file, in its account directory.
inline constexpr const char* kAccountFile = "account.ini";

// The host's mailbox directory (APAGetMailbox), ending in a backslash; empty when the host
// names none.
std::string MailboxRoot(const HostApi& host);

// The message file of a host message name (as APAFolderGetCurrentEntry and
// APAFolderGetSelectEntry give it): mailbox root, name, ".CRV".
std::string MailPathOfEntry(const std::string& mailboxRoot, const std::string& entry);

// How many mails are selected in a folder window, as the host lists them.
int CountSelectedMails(const HostApi& host, HostWindow window);

// The selected messages of a folder window as full message-file paths, in the host's order.
// The selection is walked twice, first to count it, then to build the paths: a selection
// that ends earlier the second time gives only the paths built, one that grows gives no
// more than were counted.
std::vector<std::string> CollectSelectedMailPaths(const HostApi& host, HostWindow window);

// The host's reference for a stored message: the path below the mailbox directory without
// its 4-byte extension (a remainder of 4 bytes or less is kept whole). Empty when the path
// is shorter than the mailbox directory.
std::string MailReference(std::size_t mailboxLength, const std::string& mailPath);

// MailReference for a message file that lies below the mailbox root; nothing for any other
// path, where cutting the root's length off would name some other message.
std::optional<std::string> ReferenceBelowMailbox(const std::string& mailPath,
                                                 const std::string& mailboxRoot);

// The account directory of a message, with its backslash: the mail path up to the first
// backslash below the mailbox directory, found stepping over double-byte characters. Empty
// when the path has no directory below the mailbox directory.
std::string AccountDirOfMail(const std::string& mailboxRoot, const std::string& mailPath);

// The "account.ini" of a message's account: the mail path up to the first backslash byte
// below the mailbox directory (a plain byte search, as the host's own file code does), then
// "\account.ini". Nothing when the path has no directory below the mailbox directory.
std::optional<std::string> AccountFileOfMail(std::size_t mailboxLength,
                                             const std::string& mailPath);

// [Property] Title of the message's "account.ini", at most 199 bytes. Empty when the file or
// key is missing or the mail path has no directory below the mailbox.
std::string ReadAccountTitle(const HostApi& host, ProfileStore& profile,
                             const std::string& mailPath);

// The accounts' titles as their "account.ini" gave them, each file read again only once its
// size or last write time changed, so that an edited file is still seen. A file the system
// cannot stamp is read every time.
class AccountTitleCache {
public:
    // ReadAccountTitle of the message's account, through the cache.
    std::string titleOf(const HostApi& host, ProfileStore& profile, FileSystem& files,
                        const std::string& mailPath);

private:
    struct Entry {
        FileStamp stamp;
        std::string title;
    };
    std::map<std::string, Entry> entries_;  // by account file
};

// The host's name of a folder of an account: "<account title>\<folder display path>".
std::string FolderDestination(const std::string& accountTitle, const std::string& folder);

// What copyMailIntoFolder did.
struct CopyOutcome {
    bool copied = false;         // the copy is in the folder
    bool sourceDeleted = false;  // and the original is gone (only when asked for)
};

// Copies a message into a host folder through a temporary file: save with APASaveMail,
// import with APAImportFile, then (deleteSource) delete the original with APADeleteMail.
// Nothing is copied when saving or importing fails; the temporary file never outlives the
// call. A copy whose original the host refused to delete is reported as such, so that the
// caller can have it deleted otherwise rather than leave the message twice.
CopyOutcome copyMailIntoFolder(const HostApi& host, FileSystem& files, const std::string& mail,
                               const std::string& folder, bool deleteSource);

// copyMailIntoFolder; true when the copy was made.
bool copyMailToFolder(const HostApi& host, FileSystem& files, const std::string& mail,
                      const std::string& folder, bool deleteSource);
