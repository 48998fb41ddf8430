#include "mailbox/mailbox.h"

#include "base/file_system.h"
#include "base/profile_store.h"
#include "base/sjis.h"

namespace {
constexpr std::size_t kMailExtensionLength = 4;  // ".CRV"
// The title is read into a 200-byte buffer, so at most 199 bytes of it are kept.
constexpr std::size_t kAccountTitleBufferSize = 200;
constexpr const char* kTempPrefix = "TARNWICK";

// Deletes a temporary file when the operation ends, whatever the result.
class TempFileGuard {
public:
    TempFileGuard(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
    ~TempFileGuard() { files_.deleteFile(path_); }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

private:
    FileSystem& files_;
    std::string path_;
};
std::string ReadTitleOf(ProfileStore& profile, const std::string& accountFile)
{
    return profile.readString(accountFile, "Property", "Title", "", kAccountTitleBufferSize);
}

}  // namespace

std::string MailboxRoot(const HostApi& host)
{
    return HostText(host.APAGetMailbox());
}

std::string MailPathOfEntry(const std::string& mailboxRoot, const std::string& entry)
{
    return mailboxRoot + entry + kMailExtension;
}

int CountSelectedMails(const HostApi& host, HostWindow window)
{
    int count = 0;
    for (const char* entry = host.APAFolderGetSelectEntry(window, 1); entry != nullptr;
         entry = host.APAFolderGetSelectEntry(window, 0)) {
        ++count;
    }
    return count;
}

std::vector<std::string> CollectSelectedMailPaths(const HostApi& host, HostWindow window)
{
    const int counted = CountSelectedMails(host, window);
    std::vector<std::string> paths;
    if (counted <= 0) {
        return paths;
    }
    paths.reserve(static_cast<std::size_t>(counted));
    const std::string mailboxRoot = MailboxRoot(host);
    const char* entry = host.APAFolderGetSelectEntry(window, 1);
    while (entry != nullptr) {
        paths.push_back(MailPathOfEntry(mailboxRoot, entry));
        if (paths.size() == static_cast<std::size_t>(counted)) {
            break;
        }
        entry = host.APAFolderGetSelectEntry(window, 0);
    }
    return paths;
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

std::optional<std::string> ReferenceBelowMailbox(const std::string& mailPath,
                                                 const std::string& mailboxRoot)
{
    if (mailPath.size() <= mailboxRoot.size() || !HasPrefixNoCase(mailPath, mailboxRoot)) {
        return std::nullopt;
    }
    return MailReference(mailboxRoot.size(), mailPath);
}

std::string AccountDirOfMail(const std::string& mailboxRoot, const std::string& mailPath)
{
    const std::size_t mailboxLength = mailboxRoot.size();
    if (mailboxLength > mailPath.size()) {
        return std::string();
    }
    const std::size_t separator =
        FindSjisChar(std::string_view(mailPath).substr(mailboxLength), '\\');
    if (separator == std::string_view::npos) {
        return std::string();
    }
    return mailPath.substr(0, mailboxLength + separator + 1);
}

std::optional<std::string> AccountFileOfMail(std::size_t mailboxLength, const std::string& mailPath)
{
    if (mailboxLength > mailPath.size()) {
        return std::nullopt;
    }
    const std::size_t separator = mailPath.find('\\', mailboxLength);
    if (separator == std::string::npos) {
        return std::nullopt;
    }
    return mailPath.substr(0, separator) + "\\" + kAccountFile;
}

std::string ReadAccountTitle(const HostApi& host, ProfileStore& profile,
                             const std::string& mailPath)
{
    const std::optional<std::string> accountFile =
        AccountFileOfMail(MailboxRoot(host).size(), mailPath);
    return accountFile ? ReadTitleOf(profile, *accountFile) : std::string();
}

std::string AccountTitleCache::titleOf(const HostApi& host, ProfileStore& profile,
                                       FileSystem& files, const std::string& mailPath)
{
    const std::optional<std::string> accountFile =
        AccountFileOfMail(MailboxRoot(host).size(), mailPath);
    if (!accountFile) {
        return std::string();
    }
    const std::optional<FileStamp> stamp = files.fileStamp(*accountFile);
    if (!stamp) {
        entries_.erase(*accountFile);
        return ReadTitleOf(profile, *accountFile);
    }
    const auto known = entries_.find(*accountFile);
    if (known != entries_.end() && known->second.stamp == *stamp) {
        return known->second.title;
    }
    std::string title = ReadTitleOf(profile, *accountFile);
    entries_[*accountFile] = Entry{*stamp, title};
    return title;
}

std::string FolderDestination(const std::string& accountTitle, const std::string& folder)
{
    return accountTitle + "\\" + folder;
}

CopyOutcome copyMailIntoFolder(const HostApi& host, FileSystem& files, const std::string& mail,
                               const std::string& folder, bool deleteSource)
{
    CopyOutcome outcome;
    const std::string tempFile = files.createTempFile(files.tempFolder(), kTempPrefix);
    if (tempFile.empty()) {
        return outcome;
    }
    TempFileGuard guard(files, tempFile);
    if (host.APASaveMail(mail.c_str(), tempFile.c_str(), 0, 0) == 0) {
        return outcome;
    }
    if (host.APAImportFile(tempFile.c_str(), folder.c_str(), 0) == 0) {
        return outcome;
    }
    outcome.copied = true;
    if (deleteSource) {
        outcome.sourceDeleted = host.APADeleteMail(mail.c_str()) != 0;
    }
    return outcome;
}

bool copyMailToFolder(const HostApi& host, FileSystem& files, const std::string& mail,
                      const std::string& folder, bool deleteSource)
{
    return copyMailIntoFolder(host, files, mail, folder, deleteSource).copied;
}
