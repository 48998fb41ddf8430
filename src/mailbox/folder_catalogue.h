// The host's folders as the plug-in names them. The host knows a folder by its directory
// ("acct\user001.box\user004.box"), the user by its titles joined with backslashes, the
// display path ("Lists\Work"). Folder titles and folder order come from the host's
// "account.ini" and "entry.ini" files, read through the profile reader.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/host_api.h"

class ProfileStore;

// Fixed display paths of the three built-in folders of every account.
inline constexpr const char* kInboxDisplayPath = "郵便受け";
inline constexpr const char* kOutboxDisplayPath = "送信箱";
inline constexpr const char* kTrashDisplayPath = "ごみ箱";

// One folder the user can choose as a destination: a leaf folder of the account, never a
// folder group nor a built-in folder.
struct FolderEntry {
    std::string displayPath;
};

// The selectable folders of the account whose settings were last opened, in the order of
// the host's folder tree (depth first, by the Order keys).
struct FolderCatalogue {
    std::optional<std::string> rootDir;  // account directory without its trailing backslash
    std::vector<FolderEntry> entries;

    int entryCount() const { return static_cast<int>(entries.size()); }
    // The entry at index, or null when index is negative or not below entryCount().
    const FolderEntry* entryAt(int index) const;
};

// Display path of a host folder path relative to the mailbox directory whose first
// component is the account directory (acct\user001.box\user004.box). Directly in the
// account, inbox.box, outbox.box and trash.box (any letter case) have fixed names. Empty
// when the path has no backslash; an empty title leaves a doubled backslash.
std::string FolderDisplayPath(const HostApi& host, ProfileStore& profile,
                              const std::string& folderPath);

// Rebuilds the catalogue from the account directory the host shows in window. Leaves the
// catalogue unchanged when the host names no account directory.
void BuildFolderCatalogue(FolderCatalogue& catalogue, const HostApi& host, ProfileStore& profile,
                          HostWindow window);

// Rebuilds the catalogue from an account directory (with its trailing backslash, as
// APAGetAccount and AccountDirOfMail give it); unchanged for an empty one.
void BuildFolderCatalogueOf(FolderCatalogue& catalogue, ProfileStore& profile,
                            const std::string& accountDir);

// The directory names an "Order" value lists ("user003.box", ...): three-digit numbers
// separated by any non-digits. A number of another length ends the list; a longer one
// still yields its first three digits.
std::vector<std::string> FolderDirectoriesInOrder(const std::string& order);
