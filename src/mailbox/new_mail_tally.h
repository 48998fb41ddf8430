// Counts, per account and per folder, of the messages the plug-in sorted into a folder
// since the user last opened it. The folder tree shows a folder with a count above 0 in
// bold. Kept in memory only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/host_api.h"

class ProfileStore;

struct FolderTally {
    std::string displayPath;  // exactly as the sorting rule or the caller gave it
    int32_t count = 0;
};

struct AccountTally {
    std::string accountDir;           // account directory with its trailing backslash
    std::vector<FolderTally> folders;  // sorted by displayPath, byte-wise; keys unique

    // The folder's record, or null; an empty display path is never found.
    const FolderTally* findFolder(const std::string& displayPath) const;
    FolderTally* findFolder(const std::string& displayPath);
};

struct NewMailTally {
    std::vector<AccountTally> accounts;  // sorted by accountDir, byte-wise; keys unique
};

// The tally of an account directory (exact bytes, letter case counts); null for an empty
// path or an account that was never counted.
const AccountTally* FindAccountTally(const NewMailTally& tally, const std::string& accountDir);
AccountTally* FindAccountTally(NewMailTally& tally, const std::string& accountDir);

// Counts one message sorted into the folder displayPath of the account directory accountDir
// (with its backslash; see AccountDirOfMail). Returns false, counting nothing, for an empty
// account directory or an empty display path (the account is recorded all the same).
bool CountSortedMail(NewMailTally& tally, const std::string& accountDir,
                     const std::string& displayPath);

// Sets the count of the folder the user opened (a host folder path, acct\user001.box) back
// to 0 and asks for a tree refresh (boldRefreshPending), also when it already was 0. A folder
// or account that was never counted is left alone.
void ClearFolderTally(NewMailTally& tally, bool& boldRefreshPending, const HostApi& host,
                      ProfileStore& profile, const std::string& accountDir,
                      const std::string& folderPath);
