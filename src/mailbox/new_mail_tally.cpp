#include "mailbox/new_mail_tally.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "mailbox/folder_catalogue.h"

namespace {
// Bisection over a vector sorted by key; null unless the element found has exactly key.
template <typename Records, typename Key>
auto FindByKey(Records& records, const std::string& key, Key keyOf) -> decltype(&*records.begin())
{
    const auto found = std::lower_bound(
        records.begin(), records.end(), key,
        [keyOf](const auto& record, const std::string& wanted) { return keyOf(record) < wanted; });
    if (found == records.end() || keyOf(*found) != key) {
        return nullptr;
    }
    return &*found;
}

// Inserts a new record at its sorted place and returns it.
template <typename Record, typename Key>
Record& InsertByKey(std::vector<Record>& records, Record record, Key keyOf)
{
    const auto place = std::lower_bound(
        records.begin(), records.end(), keyOf(record),
        [keyOf](const Record& existing, const std::string& wanted) { return keyOf(existing) < wanted; });
    return *records.insert(place, std::move(record));
}

const std::string& AccountKey(const AccountTally& account)
{
    return account.accountDir;
}

const std::string& FolderKey(const FolderTally& folder)
{
    return folder.displayPath;
}

}  // namespace

const FolderTally* AccountTally::findFolder(const std::string& displayPath) const
{
    return displayPath.empty() ? nullptr : FindByKey(folders, displayPath, FolderKey);
}

FolderTally* AccountTally::findFolder(const std::string& displayPath)
{
    return displayPath.empty() ? nullptr : FindByKey(folders, displayPath, FolderKey);
}

const AccountTally* FindAccountTally(const NewMailTally& tally, const std::string& accountDir)
{
    return accountDir.empty() ? nullptr : FindByKey(tally.accounts, accountDir, AccountKey);
}

AccountTally* FindAccountTally(NewMailTally& tally, const std::string& accountDir)
{
    return accountDir.empty() ? nullptr : FindByKey(tally.accounts, accountDir, AccountKey);
}

bool CountSortedMail(NewMailTally& tally, const std::string& accountDir,
                     const std::string& displayPath)
{
    if (accountDir.empty()) {
        return false;
    }
    AccountTally* account = FindAccountTally(tally, accountDir);
    if (account == nullptr) {
        account = &InsertByKey(tally.accounts, AccountTally{accountDir, {}}, AccountKey);
    }
    // An empty display path names no folder; no record is made for it.
    if (displayPath.empty()) {
        return false;
    }
    FolderTally* folder = account->findFolder(displayPath);
    if (folder == nullptr) {
        folder = &InsertByKey(account->folders, FolderTally{displayPath, 0}, FolderKey);
    }
    if (folder->count < std::numeric_limits<int32_t>::max()) {
        ++folder->count;
    }
    return true;
}

void ClearFolderTally(NewMailTally& tally, bool& boldRefreshPending, const HostApi& host,
                      ProfileStore& profile, const std::string& accountDir,
                      const std::string& folderPath)
{
    AccountTally* account = FindAccountTally(tally, accountDir);
    if (account == nullptr) {
        return;
    }
    const std::string displayPath = FolderDisplayPath(host, profile, folderPath);
    if (displayPath.empty()) {
        return;
    }
    if (FolderTally* folder = account->findFolder(displayPath)) {
        folder->count = 0;
        boldRefreshPending = true;
    }
}
