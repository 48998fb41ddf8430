#include "doubles/host_mailbox_fake.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "doubles/fault_plan.h"

namespace {
HostMailboxFake* active = nullptr;

constexpr const char* kMessageExtension = ".CRV";

std::optional<std::string> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

const char* TW_STDCALL GetMailbox()
{
    return active != nullptr ? active->getMailbox() : nullptr;
}

int TW_STDCALL SaveMail(const char* mail, const char* file, int, int)
{
    return active != nullptr ? active->saveMail(mail, file) : 0;
}

int TW_STDCALL ImportFile(const char* file, const char* destination, int)
{
    return active != nullptr ? active->importFile(file, destination) : 0;
}

int TW_STDCALL MoveMail(const char* mail, const char* destination)
{
    return active != nullptr ? active->moveMail(mail, destination) : 0;
}

int TW_STDCALL MarkMail(const char* mail, int mark, int set)
{
    return active != nullptr ? active->markMail(mail, mark, set) : 0;
}

int TW_STDCALL DeleteMail(const char* mail)
{
    return active != nullptr ? active->deleteMail(mail) : 0;
}
}  // namespace

HostMailboxFake::HostMailboxFake()
{
    char pattern[] = "/tmp/tarnwick-mailbox-XXXXXX";
    if (mkdtemp(pattern) != nullptr) {
        root_ = std::string(pattern) + "/";
    }
    api.module = this;
    api.APAGetMailbox = GetMailbox;
    api.APASaveMail = SaveMail;
    api.APAImportFile = ImportFile;
    api.APAMoveMail = MoveMail;
    api.APAMarkMail = MarkMail;
    api.APADeleteMail = DeleteMail;
    WriteBytes(root_ + kAccountFile, std::string("[Property]\nTitle=") + kAccountTitle + "\n");
    active = this;
}

HostMailboxFake::~HostMailboxFake()
{
    if (active == this) {
        active = nullptr;
    }
    std::error_code ignored;
    if (!root_.empty()) {
        std::filesystem::remove_all(root_, ignored);
    }
}

std::string HostMailboxFake::addFolder(const std::string& title)
{
    char directory[32];
    std::snprintf(directory, sizeof directory, "acct\\user%03zu.box", foldersByTitle_.size() + 1);
    foldersByTitle_[title] = directory;
    return directory;
}

std::string HostMailboxFake::addMessage(const std::string& folder, const std::string& bytes)
{
    const std::string reference = newReference(folder);
    WriteBytes(pathOf(reference), bytes);
    return reference;
}

void HostMailboxFake::hostDeletes(const std::string& reference)
{
    std::remove(pathOf(reference).c_str());
}

std::map<std::string, std::string> HostMailboxFake::messages() const
{
    std::map<std::string, std::string> found;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(root_, ignored)) {
        const std::string name = entry.path().filename().string();
        const std::size_t extension = name.size() - std::string(kMessageExtension).size();
        if (name.size() > 4 && name.compare(extension, std::string::npos, kMessageExtension) == 0) {
            found[name.substr(0, extension)] = ReadBytes(entry.path().string()).value_or("");
        }
    }
    return found;
}

std::string HostMailboxFake::folderOf(const std::string& reference)
{
    return reference.substr(0, reference.rfind('\\'));
}

std::vector<std::string> HostMailboxFake::strayFiles() const
{
    std::vector<std::string> stray;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(root_, ignored)) {
        const std::string name = entry.path().filename().string();
        const bool message = name.size() > 4 && name.compare(name.size() - 4, 4, kMessageExtension) == 0;
        if (!message && name != kAccountFile) {
            stray.push_back(name);
        }
    }
    return stray;
}

const char* HostMailboxFake::getMailbox()
{
    return FaultPoint("APAGetMailbox") ? nullptr : root_.c_str();
}

int HostMailboxFake::saveMail(const char* mail, const char* file)
{
    const std::optional<std::string> bytes = ReadBytes(pathOf(mail));
    if (FaultPoint("APASaveMail")) {
        if (bytes) {
            WriteBytes(file, bytes->substr(0, bytes->size() / 2));
        }
        return 0;
    }
    return bytes && WriteBytes(file, *bytes) ? 1 : 0;
}

int HostMailboxFake::importFile(const char* file, const char* destination)
{
    if (FaultPoint("APAImportFile")) {
        return 0;
    }
    const std::optional<std::string> folder = folderForDestination(destination);
    const std::optional<std::string> bytes = ReadBytes(file);
    if (!folder || !bytes) {
        return 0;
    }
    addMessage(*folder, *bytes);
    return 1;
}

int HostMailboxFake::moveMail(const char* mail, const char* destination)
{
    if (FaultPoint("APAMoveMail")) {
        return 0;
    }
    const std::optional<std::string> folder = folderForDestination(destination);
    if (!folder) {
        return 0;
    }
    const std::string moved = newReference(*folder);
    return std::rename(pathOf(mail).c_str(), pathOf(moved).c_str()) == 0 ? 1 : 0;
}

int HostMailboxFake::markMail(const char* mail, int mark, int set)
{
    if (FaultPoint("APAMarkMail")) {
        return 0;
    }
    marks_[mail] = set != 0 ? mark : 0;
    return 1;
}

int HostMailboxFake::deleteMail(const char* mail)
{
    if (FaultPoint("APADeleteMail")) {
        return 0;
    }
    return std::remove(pathOf(mail).c_str()) == 0 ? 1 : 0;
}

std::optional<std::string> HostMailboxFake::folderForDestination(const std::string& destination) const
{
    const std::string prefix = std::string(kAccountTitle) + "\\";
    if (destination.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    const std::string title = destination.substr(prefix.size());
    if (title == "郵便受け") {
        return inbox();
    }
    const auto folder = foldersByTitle_.find(title);
    if (folder == foldersByTitle_.end()) {
        return std::nullopt;
    }
    return folder->second;
}

std::string HostMailboxFake::newReference(const std::string& folder)
{
    char number[16];
    std::snprintf(number, sizeof number, "%05u", nextMessage_++);
    return folder + "\\" + number;
}
