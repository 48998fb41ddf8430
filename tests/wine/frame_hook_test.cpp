// The plug-in living in the host's folder window: the subclassing itself on real windows
// (in-process), then, through the real plug-in in the replacement host, the toolbar button
// and its tooltip, the bold folders of the tree, and clicks and activation that stop the
// new-mail icon and close the notification window.
#include "host_fixture.h"

#include <windows.h>

#include "host/frame_hook_win.h"
#include "host/window_hook_win.h"
#include "plugin/folder_window_win.h"
#include "plugin/process_win.h"

namespace {

constexpr UINT kPassed = WM_APP + 2;  // no hook answers it

// What the test windows' own procedure saw.
struct OwnProcRecord {
    int passed = 0;
    int setText = 0;
    LONG_PTR procAtDestroy = 0;
    CLSWinHook* hookAtDestroy = nullptr;
} own;

LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    own.passed += message == kPassed ? 1 : 0;
    own.setText += message == WM_SETTEXT ? 1 : 0;
    if (message == WM_DESTROY) {
        own.procAtDestroy = GetWindowLongPtrA(window, GWLP_WNDPROC);
        own.hookAtDestroy = ThePluginProcess().frameHooks.registry.find(window);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND OwnWindow()
{
    static const bool registered = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = OwnProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TarnwickHookProbe";
        return RegisterClassA(&windowClass) != 0;
    }();
    return registered ? CreateWindowExA(0, "TarnwickHookProbe", "", WS_OVERLAPPED, 0, 0, 50, 50,
                                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)
                      : nullptr;
}

using WindowHookTest = HostFixture;

// Two folder windows hooked, each found by its handle; a second creation for the same window
// leaves its one hook. Destroying a window puts its own procedure back before that procedure
// sees WM_DESTROY and ends the hook's dismissal timer, so that no timer looks at a window that
// is gone.
TEST_F(WindowHookTest, FolderWindowsAreHookedOnceAndUnhookedWhenDestroyed)
{
    ThePluginProcess().state.host = hostServices();
    own = {};
    HWND windows[2] = {OwnWindow(), OwnWindow()};
    for (HWND window : {windows[1], windows[0], windows[1]}) {
        CreateFrameHook(window);
    }
    ASSERT_EQ(host().liveTimers(500).size(), 2u);
    EXPECT_EQ(host().liveTimers(500)[0].parameter, reinterpret_cast<intptr_t>(windows[1]));
    EXPECT_EQ(ThePluginProcess().frameHooks.registry.hooks().size(), 2u);
    for (HWND window : windows) {
        ASSERT_NE(ThePluginProcess().frameHooks.registry.find(window), nullptr);
        EXPECT_EQ(ThePluginProcess().frameHooks.registry.find(window)->window(), window);
        EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(HookWindowProc));
    }
    SendMessageA(windows[1], kPassed, 0, 0);
    EXPECT_EQ(own.passed, 1) << "the window's own procedure sees what the hook does not answer";

    DestroyWindow(windows[1]);
    EXPECT_EQ(own.procAtDestroy, reinterpret_cast<LONG_PTR>(OwnProc));
    EXPECT_EQ(own.hookAtDestroy, nullptr);
    EXPECT_EQ(ThePluginProcess().frameHooks.registry.find(windows[1]), nullptr);
    ASSERT_EQ(host().liveTimers(500).size(), 1u);
    EXPECT_EQ(host().liveTimers(500)[0].parameter, reinterpret_cast<intptr_t>(windows[0]));

    // A window the registry does not know gets the default procedure.
    HWND unhooked = OwnWindow();
    EXPECT_TRUE(HookWindowProc(unhooked, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc")));
    char text[8] = {};
    GetWindowTextA(unhooked, text, sizeof text);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(own.setText, 0);
    DestroyWindow(unhooked);
    DestroyWindow(windows[0]);
    EXPECT_TRUE(ThePluginProcess().frameHooks.registry.hooks().empty());
}

// ---- Through the real plug-in in the host's folder window --------------------------------

using Texts = std::vector<std::string>;

class FolderWindowTest : public HostFixture {
protected:
    void start(const std::string& ini)
    {
        writePluginIni("[Setup]\r\nCheckConnect=0\r\n" + ini);
        ASSERT_TRUE(startPlugin());
        account = addAccount("acct", "Home");
        work = mailbox().addFolder(account, "仕事");
        const std::string hobby = mailbox().addGroup(account, "趣味");
        travel = mailbox().addFolder(hobby, "旅行");
        mailbox().addFolder(hobby, "ニュース");
    }

    Texts boldFolders()
    {
        Texts bold;
        for (const FolderListing& folder : mailbox().folders(account)) {
            if (host().isTreeItemBold(folder.displayPath)) {
                bold.push_back(folder.displayPath);
            }
        }
        return bold;
    }

    std::string account;
    std::string work;
    std::string travel;
};

TEST_F(FolderWindowTest, ToolbarGetsTheButtonOnceWithItsTooltip)
{
    const LONG_PTR hostProc = GetWindowLongPtrA(host().frame(), GWLP_WNDPROC);
    start("");
    EXPECT_NE(GetWindowLongPtrA(host().frame(), GWLP_WNDPROC), hostProc) << "the frame is hooked";
    EXPECT_EQ(host().toolbarCommands(), (std::vector<int>{32835, 32836})) << "no account shown yet";

    host().openFolder(Mailbox::inbox(account));
    const std::vector<int> commands = host().toolbarCommands();
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[2], 0) << "a separator before the plug-in's button";
    const std::vector<HostCall> registered = host().callsTo("APARegistCallback");
    ASSERT_EQ(registered.size(), 5u) << "the summary, then the button and its popup's three items";
    EXPECT_EQ(std::to_string(commands[3]), registered[1].result);

    host().openFolder(Mailbox::inbox(addAccount("other", "Other")));
    host().createFolderWindow();
    EXPECT_EQ(host().toolbarCommands(), commands);
    EXPECT_EQ(host().callsTo("APARegistCallback").size(), 5u);

    EXPECT_EQ(host().toolbarTooltip(commands[3]), "Tarnwick");
    EXPECT_EQ(host().toolbarTooltip(32835), "") << "the host's own buttons get no text from the plug-in";
}

TEST_F(FolderWindowTest, SortedMailShowsItsFoldersInBoldUntilTheyAreOpened)
{
    start("AfterSetBold=1\r\n[MoveMail]\r\nwork=仕事\r\ntravel=趣味\\旅行\r\n[Action]\r\nwork=2,0,0\r\n"
          "travel=2,0,0\r\n");
    host().openFolder(Mailbox::outbox(account));
    host().retrieve(account, {MailText({"X-Text-Classification: work"}, "a\r\n"),
                              MailText({"X-Text-Classification: travel"}, "b\r\n"),
                              MailText({"Subject: unsorted"}, "c\r\n")});
    EXPECT_EQ(boldFolders(), (Texts{"郵便受け", "仕事", "趣味", "趣味\\旅行"}));

    host().openFolder(travel);
    EXPECT_EQ(boldFolders(), (Texts{"郵便受け", "仕事"})) << "the group has nothing bold left";
    host().openFolder(Mailbox::inbox(account));
    EXPECT_EQ(boldFolders(), Texts{"仕事"});

    // The folder shown at the end of a retrieval is cleared then, and redrawn when a message
    // is opened.
    host().openFolder(work);
    host().retrieve(account, {MailText({"X-Text-Classification: work"}, "d\r\n"),
                              MailText({"X-Text-Classification: travel"}, "e\r\n")});
    EXPECT_EQ(boldFolders(), (Texts{"仕事", "趣味", "趣味\\旅行"}));
    host().openView(mailbox().messagesIn(work).front());
    EXPECT_EQ(boldFolders(), (Texts{"趣味", "趣味\\旅行"}));
}

TEST_F(FolderWindowTest, ClicksAndActivationStopTheIconAndClicksCloseTheNotificationWindow)
{
    start("AutoReceive=1\r\n[MoveMail]\r\nspam=ごみ箱\r\n[Action]\r\nspam=1,0,0\r\n");
    host().openFolder(Mailbox::inbox(account));
    HWND notification = FindWindowOfThisProcess("TARNWICK_MESSAGE_WINDOW");
    ASSERT_NE(notification, nullptr);
    const auto receive = [&] {
        host().retrieve(account, {MailText({"X-Text-Classification: spam"}, "x\r\n")});
        return IsWindowVisible(notification) && host().liveTimers(1000).size() == 1;
    };
    const auto notificationHidden = [&] {
        const ULONGLONG deadline = GetTickCount64() + 5000;
        while (IsWindowVisible(notification) && GetTickCount64() < deadline) {
            host().pumpMessagesFor(20);
        }
        return !IsWindowVisible(notification);
    };

    ASSERT_TRUE(receive());
    host().clickChild(host().folderTree());
    EXPECT_TRUE(notificationHidden());
    EXPECT_TRUE(host().liveTimers(1000).empty());
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(host().frame(), WM_GETICON, ICON_SMALL, 0)),
              host().frameClassIcon(false));
    ASSERT_TRUE(receive());
    host().clickChild(host().toolbar(), true);
    EXPECT_TRUE(notificationHidden());
    EXPECT_TRUE(host().liveTimers(1000).empty());

    // Brought forward or focused: the icon stops, the notification window stays.
    ASSERT_TRUE(receive());
    SetWindowPos(host().frame(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    host().pumpMessages();
    EXPECT_TRUE(host().liveTimers(1000).empty());
    ASSERT_TRUE(receive());
    SetFocus(host().folderTree());
    SetFocus(host().frame());
    host().pumpMessages();
    EXPECT_TRUE(host().liveTimers(1000).empty());
    EXPECT_TRUE(IsWindowVisible(notification));
}

}  // namespace
