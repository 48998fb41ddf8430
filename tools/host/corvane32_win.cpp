// corvane32.exe: the replacement host as a program, for showing the plug-in at work.
//
//   corvane32.exe [--pause-for-screenshots <folder>] [message files...]
//
// Builds a small mailbox below its program folder (an account that receives through the
// classifier, with folders to sort into, and a second account), loads and starts
// Plugins\tarnwick.dll as the client does, and runs one retrieval of the given message files
// into the first account's inbox. It then reports, per message, the bucket written in its
// classification header, what the plug-in answered, where the message ended up and its mark,
// followed by the folder tree, the notification window's rows, every dialog the plug-in showed and
// the services it called. Output is Shift-JIS, like everything the client shows.
//
// With --pause-for-screenshots, each dialog the plug-in shows and the notification window stay
// on screen until a screenshot was taken: the program writes "<folder>\<name>.ready" (names
// "dialog-1", "dialog-2" ... and "notification-window") and waits up to 30 s for
// "<folder>\<name>.done".
#include <atomic>
#include <cctype>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "demo_mailbox_win.h"
#include "dialog_watcher_win.h"
#include "replacement_host_win.h"

namespace {

constexpr const char* kAccount = kDemoAccount;

// The first "X-Text-Classification:" value of a message, as the host reads its header.
std::string ClassificationOf(const std::string& message)
{
    const std::string name = "x-text-classification:";
    std::size_t start = 0;
    while (start < message.size()) {
        std::size_t end = message.find('\n', start);
        if (end == std::string::npos) {
            end = message.size();
        }
        std::string line = message.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            break;
        }
        std::string lower = line.substr(0, name.size());
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (lower == name) {
            const std::size_t value = line.find_first_not_of(" \t", name.size());
            return value == std::string::npos ? std::string() : line.substr(value);
        }
        start = end + 1;
    }
    return "(none)";
}

std::string FolderDescription(ReplacementHost& host, const std::string& reference)
{
    const std::string folder = Mailbox::folderOf(reference);
    const std::string account = Mailbox::accountOf(reference);
    return host.mailbox().accountTitle(account) + "\\" + host.mailbox().displayPath(folder) + " (" +
           reference + ")";
}

void ReportMessage(ReplacementHost& host, const RetrievedMessage& message, const std::string& file,
                   const std::string& bytes)
{
    std::printf("%s\n", file.c_str());
    std::printf("  bucket:  %s\n", ClassificationOf(bytes).c_str());
    std::printf("  result:  %d (delete on server: %s, host deletes its copy: %s)\n", message.result,
                message.serverDeleteRecorded ? "yes" : "no", message.hostCopyDeleted ? "yes" : "no");
    std::vector<std::string> places;
    if (host.mailbox().messageExists(message.reference)) {
        places.push_back(message.reference);
    }
    for (const std::string& copy : host.copiesOf(message.reference)) {
        if (host.mailbox().messageExists(copy)) {
            places.push_back(copy);
        }
    }
    for (const HostCall& call : host.callsTo("APAMarkMail")) {
        if (call.arguments.at(0) == message.reference) {
            std::printf("  marked:  APAMarkMail(%s, %s, %s)%s\n", call.arguments[0].c_str(),
                        call.arguments[1].c_str(), call.arguments[2].c_str(),
                        host.mailbox().messageExists(message.reference) ? "" : " after it left the inbox");
        }
    }
    if (places.empty()) {
        std::printf("  now in:  nowhere (deleted)\n");
    }
    for (const std::string& place : places) {
        const int mark = host.markOf(place);
        std::printf("  now in:  %s, mark %d%s\n", FolderDescription(host, place).c_str(), mark,
                    mark == 0 ? " (none)" : "");
    }
}

void ReportFolderTree(ReplacementHost& host)
{
    std::printf("Folder tree of %s:\n", host.mailbox().accountTitle(kAccount).c_str());
    for (const FolderListing& folder : host.mailbox().folders(kAccount)) {
        std::printf("  %-24s %zu message(s)%s\n", folder.displayPath.c_str(),
                    host.mailbox().messagesIn(folder.folderPath).size(),
                    host.isTreeItemBold(folder.displayPath) ? ", shown in bold" : "");
    }
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Announces that name is on screen and waits until the screenshot was taken; pump runs
// between the checks (so the window keeps painting when this is its own thread).
void PauseForScreenshot(const std::string& folder, const std::string& name, void (*pump)())
{
    if (folder.empty()) {
        return;
    }
    const std::string base = folder + "\\" + name;
    WriteFileBytes(base + ".ready", name);
    const ULONGLONG deadline = GetTickCount64() + 30000;
    while (!FileExists(base + ".done") && GetTickCount64() < deadline) {
        pump();
        Sleep(50);
    }
}

void NoPump() {}

void PumpThisThread()
{
    if (ReplacementHost* host = ReplacementHost::active()) {
        host->pumpMessages();
    }
}

// The plug-in's notification window, if it is shown: its rows, column by column.
void ReportNotificationWindow(const std::string& screenshots)
{
    HWND window = FindWindowA("TARNWICK_MESSAGE_WINDOW", nullptr);
    if (window == nullptr || !IsWindowVisible(window)) {
        std::printf("Notification window: not shown\n");
        return;
    }
    HWND list = FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr);
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::printf("Notification window: shown with %d row(s) (bucket | sender | subject | body)\n", rows);
    for (int row = 0; row < rows; ++row) {
        std::printf("  %s | %s | %s | %s\n", ListViewCellText(list, row, 0).c_str(),
                    ListViewCellText(list, row, 1).c_str(), ListViewCellText(list, row, 2).c_str(),
                    ListViewCellText(list, row, 3).c_str());
    }
    PauseForScreenshot(screenshots, "notification-window", PumpThisThread);
}

void ReportDialog(const SeenDialog& box)
{
    std::printf("  \"%s\":\n", box.caption.c_str());
    std::size_t start = 0;
    while (start < box.text.size()) {
        std::size_t end = box.text.find('\n', start);
        if (end == std::string::npos) {
            end = box.text.size();
        }
        std::printf("    %s\n", box.text.substr(start, end - start).c_str());
        start = end + 1;
    }
}

void ReportCalls(const ReplacementHost& host)
{
    std::map<std::string, int> counts;
    for (const HostCall& call : host.calls()) {
        ++counts[call.service];
    }
    std::printf("Services called by the plug-in:\n");
    if (counts.empty()) {
        std::printf("  none\n");
    }
    for (const auto& [service, count] : counts) {
        std::printf("  %-28s %d\n", service.c_str(), count);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> files(argv + 1, argv + argc);
    std::string screenshots;
    if (files.size() >= 2 && files[0] == "--pause-for-screenshots") {
        screenshots = files[1];
        files.erase(files.begin(), files.begin() + 2);
    }
    ReplacementHost host;
    BuildDemoMailbox(host.mailbox());
    std::printf("Program folder: %s\n", host.programFolder().c_str());

    // Every box the plug-in shows is answered with OK and reported below.
    std::atomic<int> dialogNumber{0};
    DialogWatcher dialogs("", "OK", 120000, 100, [&screenshots, &dialogNumber](HWND dialog) {
        if (screenshots.empty()) {
            return;
        }
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PauseForScreenshot(screenshots, "dialog-" + std::to_string(++dialogNumber), NoPump);
    });
    if (!host.loadPlugin()) {
        std::printf("The plug-in did not load (error %lu).\n",
                    static_cast<unsigned long>(host.plugin().loadError()));
        for (const SeenDialog& box : dialogs.seen()) {
            std::printf("Dialog \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
        }
        return 1;
    }
    std::printf("Plug-in name: %s\n", host.plugin().entry().APCGetPlugName());
    std::printf("APCStartUp returned %d\n", host.startUp());
    host.openFolder(Mailbox::inbox(kAccount));
    host.createFolderWindow();

    std::vector<std::string> messages;
    for (const std::string& file : files) {
        messages.push_back(ReadFileBytes(file).value_or(std::string()));
    }
    std::printf("\nRetrieving %zu messages into %s\\郵便受け\n\n", messages.size(),
                host.mailbox().accountTitle(kAccount).c_str());
    const std::vector<RetrievedMessage> retrieved = host.retrieve(kAccount, messages);
    host.pumpMessagesFor(500);
    for (std::size_t i = 0; i < retrieved.size(); ++i) {
        const std::size_t slash = files[i].find_last_of("\\/");
        ReportMessage(host, retrieved[i], files[i].substr(slash == std::string::npos ? 0 : slash + 1),
                      messages[i]);
    }

    std::printf("\n");
    ReportFolderTree(host);
    ReportNotificationWindow(screenshots);
    const std::vector<SeenDialog> seen = dialogs.seen();
    std::printf("Dialogs shown by the plug-in: %zu\n", seen.size());
    for (const SeenDialog& box : seen) {
        ReportDialog(box);
    }
    ReportCalls(host);
    std::fflush(stdout);
    return 0;
}
