#include "mailbox/folder_catalogue.h"

#include <set>
#include <string_view>

#include "base/profile_store.h"
#include "base/sjis.h"

namespace {
constexpr const char* kPropertySection = "Property";
constexpr const char* kAccountFile = "account.ini";
constexpr const char* kFolderFile = "entry.ini";
constexpr const char* kGroupType = "Subfolder";
// Buffer sizes of the host's own profile reads; longer values are cut to size - 1 bytes.
constexpr std::size_t kTitleBufferSize = 200;
constexpr std::size_t kTypeBufferSize = 200;
constexpr std::size_t kOrderBufferSize = 500;
constexpr std::size_t kFolderNumberDigits = 3;

bool IsDecimalDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

std::string ReadFolderTitle(ProfileStore& profile, const std::string& file)
{
    return profile.readString(file, kPropertySection, "Title", "", kTitleBufferSize);
}

// The fixed name of a built-in folder directory, or null for any other directory.
const char* BuiltInFolderName(std::string_view directory)
{
    if (HasPrefixNoCase(directory, "inbox.box")) {
        return kInboxDisplayPath;
    }
    if (HasPrefixNoCase(directory, "outbox.box")) {
        return kOutboxDisplayPath;
    }
    if (HasPrefixNoCase(directory, "trash.box")) {
        return kTrashDisplayPath;
    }
    return nullptr;
}

// Appends the leaf folders listed by the Order key below directory. The account level
// (empty prefix) keeps its Order in account.ini, a folder group in its entry.ini. The
// host's own paths here are built with a forward slash, which its profile reader accepts.
void WalkFolderLevel(ProfileStore& profile, const std::string& directory, const std::string& prefix,
                     std::vector<FolderEntry>& entries)
{
    const std::string listFile = directory + "/" + (prefix.empty() ? kAccountFile : kFolderFile);
    const std::string order =
        profile.readString(listFile, kPropertySection, "Order", "", kOrderBufferSize);
    // A number listed twice names the same directory; walking a group once per mention
    // would make a damaged Order cost time exponential in the depth of nested groups.
    std::set<std::string> listed;
    for (const std::string& folder : FolderDirectoriesInOrder(order)) {
        if (!listed.insert(folder).second) {
            continue;
        }
        const std::string folderFile = directory + "/" + folder + "/" + kFolderFile;
        const std::string type =
            profile.readString(folderFile, kPropertySection, "Type", "", kTypeBufferSize);
        const std::string title = ReadFolderTitle(profile, folderFile);
        if (title.empty()) {
            continue;
        }
        const std::string displayPath = prefix.empty() ? title : prefix + "\\" + title;
        if (HasPrefixNoCase(type, kGroupType)) {
            WalkFolderLevel(profile, directory + "/" + folder, displayPath, entries);
        } else {
            entries.push_back(FolderEntry{displayPath});
        }
    }
}
}  // namespace

const FolderEntry* FolderCatalogue::entryAt(int index) const
{
    if (index < 0 || index >= entryCount()) {
        return nullptr;
    }
    return &entries[static_cast<std::size_t>(index)];
}

std::vector<std::string> FolderDirectoriesInOrder(const std::string& order)
{
    std::vector<std::string> directories;
    std::size_t position = 0;
    for (;;) {
        while (position < order.size() && !IsDecimalDigit(order[position])) {
            ++position;
        }
        if (position == order.size()) {
            return directories;
        }
        const std::size_t start = position;
        while (position < order.size() && position - start < kFolderNumberDigits &&
               IsDecimalDigit(order[position])) {
            ++position;
        }
        if (position - start != kFolderNumberDigits) {
            return directories;
        }
        directories.push_back("user" + order.substr(start, kFolderNumberDigits) + ".box");
    }
}

std::string FolderDisplayPath(const HostApi& host, ProfileStore& profile,
                              const std::string& folderPath)
{
    std::string displayPath;
    const std::string_view path(folderPath);
    const std::size_t accountEnd = FindSjisChar(path, '\\');
    if (accountEnd == std::string_view::npos) {
        return displayPath;
    }
    const std::string mailbox = HostText(host.APAGetMailbox());
    int level = 0;
    std::size_t start = accountEnd + 1;
    for (;;) {
        const std::size_t separator = FindSjisChar(path.substr(start), '\\');
        const bool last = separator == std::string_view::npos;
        std::string folderFile;
        if (last) {
            if (level == 0) {
                if (const char* builtIn = BuiltInFolderName(path.substr(start))) {
                    return builtIn;
                }
            }
            folderFile = mailbox + folderPath + "\\" + kFolderFile;
        } else {
            folderFile = mailbox + folderPath.substr(0, start + separator + 1) + kFolderFile;
        }
        if (!displayPath.empty()) {
            displayPath += '\\';
        }
        displayPath += ReadFolderTitle(profile, folderFile);
        ++level;
        if (last) {
            return displayPath;
        }
        start += separator + 1;
    }
}

void BuildFolderCatalogue(FolderCatalogue& catalogue, const HostApi& host, ProfileStore& profile,
                          HostWindow window)
{
    BuildFolderCatalogueOf(catalogue, profile, HostText(host.APAGetAccount(window)));
}

void BuildFolderCatalogueOf(FolderCatalogue& catalogue, ProfileStore& profile,
                            const std::string& accountDir)
{
    if (accountDir.empty()) {
        return;
    }
    const std::string root = accountDir.substr(0, accountDir.size() - 1);
    catalogue.entries.clear();
    catalogue.rootDir = root;
    WalkFolderLevel(profile, root, "", catalogue.entries);
}
