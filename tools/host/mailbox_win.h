// The replacement host's mailbox on disk, laid out as the mail client keeps it:
//
//   <root>\                         the mailbox root; APAGetMailbox returns it, with the backslash
//     <account>\account.ini         [Property] Title, Order (top-level user folders, "001,002"),
//                                   and for the classifier probe Connect, POP3Server, POP3Port
//     <account>\inbox.box\          the three built-in folders, each with an entry.ini
//     <account>\outbox.box\         (the outbox)
//     <account>\trash.box\          (the trash)
//     <account>\user001.box\        a user folder: entry.ini [Property] Title, Type, Order
//       user002.box\                folders inside a group ("Subfolder" type) nest below it
//     <folder>\00000001.CRV         one file per message
//
// A folder path names a folder relative to the root ("acct\user001.box"); a mail reference is
// a message file's path relative to the root without ".CRV" ("acct\inbox.box\00000001").
// A destination, as the import service takes it, is "<account title>\<display path>", the
// display path being the folder titles joined by backslashes; the built-in folders are shown
// as "郵便受け", "送信箱" and "ごみ箱". All texts are Shift-JIS bytes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// What account.ini says about an account besides its folders.
struct AccountSettings {
    std::string title;
    std::string connect;     // "Connect": empty leaves the key out
    std::string pop3Server;  // "POP3Server"
    std::string pop3Port;    // "POP3Port"
};

// One folder of an account as the client lists it, depth first in Order.
struct FolderListing {
    std::string folderPath;   // relative to the root
    std::string displayPath;  // titles joined by backslashes
    bool group = false;       // contains folders only
};

class Mailbox {
public:
    // Creates the root directory when missing; root ends in a backslash.
    explicit Mailbox(std::string root);

    const std::string& root() const { return root_; }

    // Creates <root><directory>\ with account.ini and the three built-in folders. Returns the
    // account directory name, which is also the first component of its folder paths.
    std::string addAccount(const std::string& directory, const AccountSettings& settings);
    // Full path of an account directory, ending in a backslash.
    std::string accountDirectory(const std::string& account) const;
    std::string accountTitle(const std::string& account) const;
    std::vector<std::string> accounts() const;

    static std::string inbox(const std::string& account) { return account + "\\inbox.box"; }
    static std::string outbox(const std::string& account) { return account + "\\outbox.box"; }
    static std::string trash(const std::string& account) { return account + "\\trash.box"; }

    // A user folder titled title inside parent (an account name or a group's folder path),
    // appended to the parent's Order. Returns its folder path.
    std::string addFolder(const std::string& parent, const std::string& title);
    // A folder group (Type "Subfolder"), which holds folders only.
    std::string addGroup(const std::string& parent, const std::string& title);

    // Stores bytes as they are as a new message file in folder; returns its reference. File
    // names are numbered on and never reused by this mailbox object.
    std::string addMessage(const std::string& folderPath, const std::string& bytes);
    // Stores a copy of an existing file as a new message; empty when it cannot be read.
    std::string addMessageFromFile(const std::string& folderPath, const std::string& file);

    std::string messagePath(const std::string& reference) const { return root_ + reference + ".CRV"; }
    // The reference of a message file path below the root; empty for any other path.
    std::string referenceOf(const std::string& path) const;
    bool messageExists(const std::string& reference) const;
    // The message's bytes; nullopt when the file cannot be read.
    std::optional<std::string> readMessage(const std::string& reference) const;
    // References of the messages in one folder, in file-name order.
    std::vector<std::string> messagesIn(const std::string& folderPath) const;
    // The folder path holding a reference ("acct\inbox.box" for "acct\inbox.box\00000001").
    static std::string folderOf(const std::string& reference);
    // The account name a folder path or reference begins with.
    static std::string accountOf(const std::string& path);

    // Every folder of an account: the three built-in ones first, then the user folders.
    std::vector<FolderListing> folders(const std::string& account) const;
    // The display path of a folder path; empty when unknown.
    std::string displayPath(const std::string& folderPath) const;
    // The folder a destination names, or nullopt when no account or folder matches. Answers
    // are kept until this object adds an account or folder; account.ini and entry.ini files
    // changed behind its back are not seen until then.
    std::optional<std::string> resolveDestination(const std::string& destination) const;

private:
    std::string addUserFolder(const std::string& parent, const std::string& title, bool group);
    std::string orderFileOf(const std::string& parent) const;
    std::optional<std::string> findDestination(const std::string& destination) const;
    void listUserFolders(const std::string& parent, const std::string& prefix,
                         std::vector<FolderListing>& out) const;

    std::string root_;
    std::map<std::string, long> lastMessageNumber_;  // per folder path
    mutable std::map<std::string, std::optional<std::string>> destinations_;
};

// The components of a display path or destination, split at every backslash that is not
// the trail byte of a Shift-JIS character; n backslashes give n + 1 components.
std::vector<std::string> SplitDisplayPath(const std::string& path);

// Profile helpers over Get/WritePrivateProfileStringA, used for the client's INI files.
std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key);
void WriteProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value);

// Whole-file helpers; paths are ANSI (Shift-JIS) bytes.
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Creates a directory and its missing parents.
bool CreateDirectories(const std::string& path);
// Deletes a directory tree; a missing one counts as deleted.
bool RemoveDirectoryTree(const std::string& path);
