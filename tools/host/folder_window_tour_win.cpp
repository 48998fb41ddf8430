// folder_window_tour.exe: the plug-in living in the replacement host's folder window, held on
// screen for the demo's screenshots.
//
//   folder_window_tour.exe [message files...]
//
// Builds the demo mailbox below its program folder, starts Plugins\tarnwick.dll as the client
// does (with whatever Plugins\tarnwick.ini is in place), shows the first account's inbox and
// retrieves the given messages, confirming the summary's box. Then it reports the folders the
// tree shows in bold, the toolbar's buttons and the tooltip of the plug-in's button, and holds
// two pictures: the folder window with the pointer resting on the plug-in's button (its
// tooltip showing), and the button's popup menu, which is then closed with Escape. Its
// handshake folder is "handshake" in its program folder: for each picture it writes
// "ready-<name>", waits (up to 60 s) for "shot-<name>", and at the end writes "done". Output
// is Shift-JIS.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "demo_mailbox_win.h"
#include "dialog_watcher_win.h"
#include "replacement_host_win.h"
#include "screenshot_handshake_win.h"

namespace {

void PumpHost()
{
    ReplacementHost::active()->pumpMessages();
}

// The visible tooltip window of this process with a text, or null.
HWND ShownTooltip()
{
    for (HWND window = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, TOOLTIPS_CLASSA, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char text[80] = {};
        GetWindowTextA(window, text, sizeof text);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) && text[0] != '\0') {
            return window;
        }
    }
    return nullptr;
}

// Rests the pointer on the button, as a user would, until its tooltip shows (up to 5 s).
std::string HoverOverButton(ReplacementHost& host, int command)
{
    RECT button = {};
    SendMessageA(host.toolbar(), TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&button));
    POINT centre = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(host.toolbar(), &centre);
    SetCursorPos(centre.x - 2, centre.y - 2);
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = 2;
    move.mi.dy = 2;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
    const ULONGLONG deadline = GetTickCount64() + 5000;
    HWND tooltip = nullptr;
    while ((tooltip = ShownTooltip()) == nullptr && GetTickCount64() < deadline) {
        host.pumpMessagesFor(50);
    }
    char text[80] = {};
    if (tooltip != nullptr) {
        GetWindowTextA(tooltip, text, sizeof text);
    }
    return text;
}

std::vector<std::string> BoldFolders(ReplacementHost& host)
{
    std::vector<std::string> bold;
    for (const FolderListing& folder : host.mailbox().folders(kDemoAccount)) {
        if (host.isTreeItemBold(folder.displayPath)) {
            bold.push_back(folder.displayPath);
        }
    }
    return bold;
}

}  // namespace

int main(int argc, char** argv)
{
    ReplacementHost host;
    // The summary box of the retrieval is confirmed as a user would.
    DialogWatcher boxes("", "OK", 120000, 10);
    const std::string handshake = MakeHandshakeFolder(host.programFolder());
    BuildDemoMailbox(host.mailbox());
    if (!host.loadPlugin()) {
        std::printf("The plug-in did not load.\n");
        return 1;
    }
    host.startUp();
    host.openFolder(Mailbox::inbox(kDemoAccount));
    host.createFolderWindow();
    std::vector<std::string> messages;
    for (int i = 1; i < argc; ++i) {
        messages.push_back(ReadFileBytes(argv[i]).value_or(std::string()));
    }
    host.retrieve(kDemoAccount, messages);
    host.pumpMessagesFor(300);
    SetForegroundWindow(host.frame());

    std::printf("Retrieved %zu messages into %s\\郵便受け\n", messages.size(),
                host.mailbox().accountTitle(kDemoAccount).c_str());
    std::printf("Folders shown in bold:");
    for (const std::string& folder : BoldFolders(host)) {
        std::printf(" %s", folder.c_str());
    }
    std::printf("\nToolbar buttons (command numbers, 0 a separator):");
    const std::vector<int> commands = host.toolbarCommands();
    for (int command : commands) {
        std::printf(" %d", command);
    }
    std::printf("\n");
    if (commands.size() < 4) {
        std::printf("The plug-in's button is missing.\n");
        EndHandshake(handshake);
        return 1;
    }
    const int button = commands.back();
    std::printf("Tooltip of the plug-in's button: %s\n", host.toolbarTooltip(button).c_str());

    const std::string shown = HoverOverButton(host, button);
    std::printf("Tooltip on screen with the pointer on the button: %s\n",
                shown.empty() ? "(none showed)" : shown.c_str());
    HoldForScreenshot(handshake, "1-folder-window", PumpHost);

    // The popup runs its own loop inside the press; a second thread holds it for the picture.
    std::vector<MenuEntry> popup;
    std::thread user([&popup, &handshake] {
        HWND menu = WaitForShownPopupMenu(10000);
        if (menu == nullptr) {
            return;
        }
        popup = ShownPopupMenuItems(menu);
        Sleep(300);  // the menu's own drawing
        HoldForScreenshot(handshake, "2-toolbar-popup");
        DismissShownPopupMenu(menu);
    });
    host.pressToolbarButton(button);
    user.join();
    std::printf("Popup menu of the button:");
    for (const MenuEntry& item : popup) {
        std::printf(" [%s]", item.label.c_str());
    }
    std::printf("%s\n", popup.empty() ? " (none showed)" : "");

    EndHandshake(handshake);
    std::fflush(stdout);
    return 0;
}
