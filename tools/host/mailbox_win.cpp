#include "mailbox_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr const char* kProperty = "Property";
constexpr const char* kMessageExtension = ".CRV";
constexpr const char* kGroupType = "Subfolder";
constexpr const char* kFolderType = "Mail";

struct FindCloser {
    void operator()(HANDLE handle) const { FindClose(handle); }
};
using FindHandle = std::unique_ptr<void, FindCloser>;

FindHandle FindFirst(const std::string& pattern, WIN32_FIND_DATAA& data)
{
    HANDLE handle = FindFirstFileA(pattern.c_str(), &data);
    return FindHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// Names of the entries matching pattern, files or directories as asked.
std::vector<std::string> ListNames(const std::string& pattern, bool directories)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    FindHandle find = FindFirst(pattern, data);
    if (!find) {
        return names;
    }
    do {
        const std::string name = data.cFileName;
        const bool isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != "." && name != ".." && isDirectory == directories) {
            names.push_back(name);
        }
    } while (FindNextFileA(find.get(), &data));
    std::sort(names.begin(), names.end());
    return names;
}

// The three-digit numbers of an Order value, in order.
std::vector<std::string> OrderNumbers(const std::string& order)
{
    std::vector<std::string> numbers;
    std::string digits;
    for (char c : order + ",") {
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (!digits.empty()) {
            numbers.push_back(digits);
            digits.clear();
        }
    }
    return numbers;
}

std::string ParentOf(const std::string& path)
{
    const std::size_t separator = path.rfind('\\');
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

}  // namespace

std::vector<std::string> SplitDisplayPath(const std::string& text)
{
    // Titles are Shift-JIS: a 0x5C after a lead byte is a trail byte, not a separator.
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        if (lead && i + 1 < text.size()) {
            parts.back() += text.substr(i, 2);
            ++i;
        } else if (byte == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(byte);
        }
    }
    return parts;
}

std::string ReadProfileString(const std::string& file, const std::string& section,
                              const std::string& key)
{
    std::string buffer(4096, '\0');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), file.c_str());
    buffer.resize(length);
    return buffer;
}

void WriteProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value)
{
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

std::optional<std::string> ReadFileBytes(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool CreateDirectories(const std::string& path)
{
    std::string trimmed = path;
    while (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/')) {
        trimmed.pop_back();
    }
    if (trimmed.empty()) {
        return true;
    }
    const DWORD attributes = GetFileAttributesA(trimmed.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    const std::size_t separator = trimmed.find_last_of("\\/");
    if (separator != std::string::npos && !CreateDirectories(trimmed.substr(0, separator))) {
        return false;
    }
    return CreateDirectoryA(trimmed.c_str(), nullptr) != 0 ||
           GetLastError() == ERROR_ALREADY_EXISTS;
}

bool RemoveDirectoryTree(const std::string& path)
{
    std::string directory = path;
    if (!directory.empty() && directory.back() == '\\') {
        directory.pop_back();
    }
    if (GetFileAttributesA(directory.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    for (const std::string& name : ListNames(directory + "\\*", false)) {
        DeleteFileA((directory + "\\" + name).c_str());
    }
    for (const std::string& name : ListNames(directory + "\\*", true)) {
        RemoveDirectoryTree(directory + "\\" + name);
    }
    return RemoveDirectoryA(directory.c_str()) != 0;
}

Mailbox::Mailbox(std::string root) : root_(std::move(root))
{
    if (root_.empty() || root_.back() != '\\') {
        root_ += '\\';
    }
    CreateDirectories(root_);
}

std::string Mailbox::addAccount(const std::string& directory, const AccountSettings& settings)
{
    destinations_.clear();
    const std::string accountDir = accountDirectory(directory);
    CreateDirectories(accountDir);
    const std::string accountIni = accountDir + "account.ini";
    WriteProfileString(accountIni, kProperty, "Title", settings.title);
    WriteProfileString(accountIni, kProperty, "Order", "");
    if (!settings.connect.empty()) {
        WriteProfileString(accountIni, kProperty, "Connect", settings.connect);
    }
    if (!settings.pop3Server.empty()) {
        WriteProfileString(accountIni, kProperty, "POP3Server", settings.pop3Server);
    }
    if (!settings.pop3Port.empty()) {
        WriteProfileString(accountIni, kProperty, "POP3Port", settings.pop3Port);
    }
    const std::pair<std::string, const char*> builtIns[] = {
        {inbox(directory), "郵便受け"}, {outbox(directory), "送信箱"}, {trash(directory), "ごみ箱"}};
    for (const auto& [folder, title] : builtIns) {
        CreateDirectories(root_ + folder);
        const std::string entryIni = root_ + folder + "\\entry.ini";
        WriteProfileString(entryIni, kProperty, "Title", title);
        WriteProfileString(entryIni, kProperty, "Type", kFolderType);
    }
    return directory;
}

std::string Mailbox::accountDirectory(const std::string& account) const
{
    return root_ + account + "\\";
}

std::string Mailbox::accountTitle(const std::string& account) const
{
    return ReadProfileString(accountDirectory(account) + "account.ini", kProperty, "Title");
}

std::vector<std::string> Mailbox::accounts() const
{
    std::vector<std::string> result;
    for (const std::string& name : ListNames(root_ + "*", true)) {
        if (GetFileAttributesA((root_ + name + "\\account.ini").c_str()) != INVALID_FILE_ATTRIBUTES) {
            result.push_back(name);
        }
    }
    return result;
}

std::string Mailbox::addFolder(const std::string& parent, const std::string& title)
{
    return addUserFolder(parent, title, false);
}

std::string Mailbox::addGroup(const std::string& parent, const std::string& title)
{
    return addUserFolder(parent, title, true);
}

std::string Mailbox::orderFileOf(const std::string& parent) const
{
    const bool accountLevel = parent.find('\\') == std::string::npos;
    return root_ + parent + (accountLevel ? "\\account.ini" : "\\entry.ini");
}

std::string Mailbox::addUserFolder(const std::string& parent, const std::string& title, bool group)
{
    destinations_.clear();
    // Numbers are unique within the account, so a folder's directory name alone tells it apart.
    int highest = 0;
    for (const FolderListing& folder : folders(accountOf(parent))) {
        const std::string name = folder.folderPath.substr(folder.folderPath.rfind('\\') + 1);
        if (name.size() == 11 && name.compare(0, 4, "user") == 0) {
            highest = std::max(highest, std::atoi(name.substr(4, 3).c_str()));
        }
    }
    char number[8];
    std::snprintf(number, sizeof number, "%03d", highest + 1);
    const std::string folderPath = parent + "\\user" + number + ".box";
    CreateDirectories(root_ + folderPath);
    const std::string entryIni = root_ + folderPath + "\\entry.ini";
    WriteProfileString(entryIni, kProperty, "Title", title);
    WriteProfileString(entryIni, kProperty, "Type", group ? kGroupType : kFolderType);
    if (group) {
        WriteProfileString(entryIni, kProperty, "Order", "");
    }
    const std::string orderFile = orderFileOf(parent);
    std::string order = ReadProfileString(orderFile, kProperty, "Order");
    order += (order.empty() ? "" : ",") + std::string(number);
    WriteProfileString(orderFile, kProperty, "Order", order);
    return folderPath;
}

std::string Mailbox::addMessage(const std::string& folderPath, const std::string& bytes)
{
    // A file name is never reused within a folder, so a reference that once named a message
    // never names another one.
    // The folder is listed once; after that a name found taken (a file written behind the
    // mailbox's back) only moves the number on.
    const auto known = lastMessageNumber_.find(folderPath);
    long& highest = lastMessageNumber_[folderPath];
    if (known == lastMessageNumber_.end()) {
        for (const std::string& reference : messagesIn(folderPath)) {
            highest = std::max(highest, std::atol(reference.substr(reference.rfind('\\') + 1).c_str()));
        }
    }
    std::string reference;
    do {
        char name[16];
        std::snprintf(name, sizeof name, "%08ld", ++highest);
        reference = folderPath + "\\" + name;
    } while (GetFileAttributesA(messagePath(reference).c_str()) != INVALID_FILE_ATTRIBUTES);
    if (!WriteFileBytes(messagePath(reference), bytes)) {
        return std::string();
    }
    return reference;
}

std::string Mailbox::addMessageFromFile(const std::string& folderPath, const std::string& file)
{
    const std::optional<std::string> bytes = ReadFileBytes(file);
    return bytes ? addMessage(folderPath, *bytes) : std::string();
}

std::string Mailbox::referenceOf(const std::string& path) const
{
    const std::size_t extension = std::string(kMessageExtension).size();
    if (path.size() <= root_.size() + extension ||
        CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path.c_str(),
                       static_cast<int>(root_.size()), root_.c_str(),
                       static_cast<int>(root_.size())) != CSTR_EQUAL) {
        return std::string();
    }
    return path.substr(root_.size(), path.size() - root_.size() - extension);
}

bool Mailbox::messageExists(const std::string& reference) const
{
    const DWORD attributes = GetFileAttributesA(messagePath(reference).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Mailbox::readMessage(const std::string& reference) const
{
    return ReadFileBytes(messagePath(reference));
}

std::vector<std::string> Mailbox::messagesIn(const std::string& folderPath) const
{
    std::vector<std::string> references;
    for (const std::string& name : ListNames(root_ + folderPath + "\\*" + kMessageExtension, false)) {
        references.push_back(folderPath + "\\" + name.substr(0, name.size() - 4));
    }
    return references;
}

std::string Mailbox::folderOf(const std::string& reference)
{
    return ParentOf(reference);
}

std::string Mailbox::accountOf(const std::string& path)
{
    return path.substr(0, path.find('\\'));
}

std::vector<FolderListing> Mailbox::folders(const std::string& account) const
{
    std::vector<FolderListing> result = {
        {inbox(account), "郵便受け", false},
        {outbox(account), "送信箱", false},
        {trash(account), "ごみ箱", false},
    };
    listUserFolders(account, std::string(), result);
    return result;
}

void Mailbox::listUserFolders(const std::string& parent, const std::string& prefix,
                              std::vector<FolderListing>& out) const
{
    for (const std::string& number : OrderNumbers(ReadProfileString(orderFileOf(parent), kProperty, "Order"))) {
        const std::string folderPath = parent + "\\user" + number + ".box";
        const std::string entryIni = root_ + folderPath + "\\entry.ini";
        const std::string title = ReadProfileString(entryIni, kProperty, "Title");
        const bool group = ReadProfileString(entryIni, kProperty, "Type").rfind(kGroupType, 0) == 0;
        const std::string display = prefix.empty() ? title : prefix + "\\" + title;
        out.push_back({folderPath, display, group});
        if (group) {
            listUserFolders(folderPath, display, out);
        }
    }
}

std::string Mailbox::displayPath(const std::string& folderPath) const
{
    for (const FolderListing& folder : folders(accountOf(folderPath))) {
        if (CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, folder.folderPath.c_str(), -1,
                           folderPath.c_str(), -1) == CSTR_EQUAL) {
            return folder.displayPath;
        }
    }
    return std::string();
}

std::optional<std::string> Mailbox::resolveDestination(const std::string& destination) const
{
    const auto cached = destinations_.find(destination);
    if (cached != destinations_.end()) {
        return cached->second;
    }
    const std::optional<std::string> folder = findDestination(destination);
    destinations_[destination] = folder;
    return folder;
}

std::optional<std::string> Mailbox::findDestination(const std::string& destination) const
{
    const std::vector<std::string> parts = SplitDisplayPath(destination);
    if (parts.size() < 2) {
        return std::nullopt;
    }
    const std::string title = parts.front();
    std::string display = parts[1];
    for (std::size_t i = 2; i < parts.size(); ++i) {
        display += "\\" + parts[i];
    }
    for (const std::string& account : accounts()) {
        if (accountTitle(account) != title) {
            continue;
        }
        for (const FolderListing& folder : folders(account)) {
            if (!folder.group && folder.displayPath == display) {
                return folder.folderPath;
            }
        }
    }
    return std::nullopt;
}
