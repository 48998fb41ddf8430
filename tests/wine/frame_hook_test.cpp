// The plug-in living in the host's folder window: the subclassing itself on real windows
// (in-process), then, through the real plug-in in the replacement host, the toolbar button
// and its tooltip, the bold folders of the tree, and clicks and activation that stop the
// new-mail icon and close the notification window.
#include "host_fixture.h"

#include <windows.h>

#include "core/process_win.h"
#include "host/frame_hook_win.h"
#include "host/window_hook_win.h"

namespace {

constexpr UINT kAnswered = WM_APP + 1;  // the test hook answers it
constexpr UINT kPassed = WM_APP + 2;    // the test hook only looks at it

// What the test windows' own procedure saw.
struct OwnProcRecord {
    int answered = 0;
    int passed = 0;
    int setText = 0;
    LONG_PTR procAtDestroy = 0;
    CLSWinHook* hookAtDestroy = nullptr;
};
OwnProcRecord own;

LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kAnswered:
        ++own.answered;
        break;
    case kPassed:
        ++own.passed;
        break;
    case WM_SETTEXT:
        ++own.setText;
        break;
    case WM_DESTROY:
        own.procAtDestroy = GetWindowLongPtrA(window, GWLP_WNDPROC);
        own.hookAtDestroy = FindHook(window);
        break;
    default:
        break;
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

class RecordingHook : public CLSWinHook {
public:
    RecordingHook(HWND window, bool& destroyed) : CLSWinHook(window), destroyed_(destroyed) {}
    ~RecordingHook() override { destroyed_ = true; }
    LRESULT OnMessage(UINT message, WPARAM, LPARAM, bool& handled) override
    {
        seen += message == kPassed ? 1 : 0;
        handled = message == kAnswered;
        return handled ? 42 : 0;
    }
    int seen = 0;

private:
    bool& destroyed_;
};

using WindowHookTest = HostFixture;

TEST_F(WindowHookTest, HooksSeeMessagesFirstAndGoAwayWithTheirWindows)
{
    own = {};
    HWND windows[3] = {OwnWindow(), OwnWindow(), OwnWindow()};
    HWND unhooked = OwnWindow();
    ASSERT_TRUE(windows[0] && windows[1] && windows[2] && unhooked);
    bool destroyed[3] = {};
    RecordingHook* hooks[3] = {};
    HookRegistry& registry = ProcessHookRegistry();
    for (int i : {2, 0, 1}) {
        hooks[i] = new RecordingHook(windows[i], destroyed[i]);
        ASSERT_TRUE(hooks[i]->install(registry));
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(FindHook(windows[i]), hooks[i]);
        EXPECT_EQ(GetWindowLongPtrA(windows[i], GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(HookWindowProc));
    }
    EXPECT_EQ(FindHook(unhooked), nullptr);

    EXPECT_EQ(SendMessageA(windows[1], kAnswered, 0, 0), 42);
    EXPECT_EQ(own.answered, 0) << "a handled message does not reach the window's procedure";
    SendMessageA(windows[1], kPassed, 0, 0);
    EXPECT_EQ(hooks[1]->seen, 1);
    EXPECT_EQ(own.passed, 1);

    // A window the registry does not know gets the default procedure.
    EXPECT_TRUE(HookWindowProc(unhooked, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc")));
    char text[8] = {};
    GetWindowTextA(unhooked, text, sizeof text);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(own.setText, 0);

    DestroyWindow(windows[1]);
    EXPECT_EQ(own.procAtDestroy, reinterpret_cast<LONG_PTR>(OwnProc)) << "restored before the host sees WM_DESTROY";
    EXPECT_EQ(own.hookAtDestroy, nullptr);
    EXPECT_TRUE(destroyed[1]);
    EXPECT_EQ(FindHook(windows[1]), nullptr);
    EXPECT_EQ(FindHook(windows[0]), hooks[0]);
    EXPECT_EQ(FindHook(windows[2]), hooks[2]);

    hooks[0]->uninstall(registry);
    EXPECT_EQ(GetWindowLongPtrA(windows[0], GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(OwnProc));
    EXPECT_EQ(FindHook(windows[0]), nullptr);
    delete hooks[0];
    DestroyWindow(windows[0]);
    DestroyWindow(windows[2]);
    DestroyWindow(unhooked);
    EXPECT_TRUE(destroyed[2]);
    EXPECT_TRUE(registry.hooks().empty());
}

// The dismissal timer looks at its window only while the window exists; a second creation
// for the same window would call the hook as its own previous procedure, without end.
TEST_F(WindowHookTest, FolderWindowIsHookedOnceAndItsTimerEndsWithIt)
{
    ThePluginProcess().state.host = hostServices();
    own = {};
    HWND window = OwnWindow();
    ASSERT_NE(window, nullptr);
    CreateFrameHook(window);
    CreateFrameHook(window);
    ASSERT_EQ(host().liveTimers().size(), 1u);
    EXPECT_EQ(host().liveTimers()[0].milliseconds, 500u);
    EXPECT_EQ(host().liveTimers()[0].parameter, reinterpret_cast<intptr_t>(window));
    ASSERT_NE(FindHook(window), nullptr);
    EXPECT_EQ(ProcessHookRegistry().hooks().size(), 1u);
    SendMessageA(window, kPassed, 0, 0);
    EXPECT_EQ(own.passed, 1);

    DestroyWindow(window);
    EXPECT_TRUE(host().liveTimers().empty());
    EXPECT_EQ(FindHook(window), nullptr);
    EXPECT_EQ(own.procAtDestroy, reinterpret_cast<LONG_PTR>(OwnProc));
}

// ---- Through the real plug-in in the host's folder window --------------------------------

class FolderWindowTest : public HostFixture {
protected:
    void start(const std::string& ini)
    {
        writePluginIni(ini);
        ASSERT_TRUE(startPlugin());
        account = addAccount("acct", "Home");
        work = mailbox().addFolder(account, "仕事");
        const std::string hobby = mailbox().addGroup(account, "趣味");
        travel = mailbox().addFolder(hobby, "旅行");
        mailbox().addFolder(hobby, "ニュース");
    }

    std::vector<std::string> boldFolders()
    {
        std::vector<std::string> bold;
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

using Texts = std::vector<std::string>;

TEST_F(FolderWindowTest, ToolbarGetsTheButtonOnceWithItsTooltip)
{
    const LONG_PTR hostProc = GetWindowLongPtrA(host().frame(), GWLP_WNDPROC);
    start("[Setup]\r\nCheckConnect=0\r\n");
    EXPECT_NE(GetWindowLongPtrA(host().frame(), GWLP_WNDPROC), hostProc) << "the frame is hooked";
    EXPECT_EQ(host().toolbarCommands(), (std::vector<int>{32835, 32836})) << "no account shown yet";

    host().openFolder(Mailbox::inbox(account));
    const std::vector<int> commands = host().toolbarCommands();
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[2], 0) << "a separator before the plug-in's button";
    const std::vector<HostCall> registered = host().callsTo("APARegistCallback");
    ASSERT_EQ(registered.size(), 4u) << "the summary, then the button and its popup's two items";
    EXPECT_EQ(std::to_string(commands[3]), registered[1].result);

    const std::string other = addAccount("other", "Other");
    host().openFolder(Mailbox::inbox(other));
    host().createFolderWindow();
    EXPECT_EQ(host().toolbarCommands(), commands);
    EXPECT_EQ(host().callsTo("APARegistCallback").size(), 4u);

    EXPECT_EQ(host().toolbarTooltip(commands[3]), "Tarnwick");
    EXPECT_EQ(host().toolbarTooltip(32835), "") << "the host's own buttons get no text from the plug-in";
}

TEST_F(FolderWindowTest, SortedMailShowsItsFoldersInBoldUntilTheyAreOpened)
{
    start("[Setup]\r\nCheckConnect=0\r\nAfterSetBold=1\r\n[MoveMail]\r\nwork=仕事\r\n"
          "travel=趣味\\旅行\r\n[Action]\r\nwork=2,0,0\r\ntravel=2,0,0\r\n");
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

TEST_F(FolderWindowTest, WithoutAfterSetBoldNothingIsBold)
{
    start("[Setup]\r\nCheckConnect=0\r\nAfterSetBold=0\r\n[MoveMail]\r\nwork=仕事\r\n[Action]\r\nwork=2,0,0\r\n");
    host().openFolder(Mailbox::outbox(account));
    host().retrieve(account, {MailText({"X-Text-Classification: work"}, "a\r\n")});
    EXPECT_EQ(mailbox().messagesIn(work).size(), 1u);
    EXPECT_TRUE(boldFolders().empty());
}

TEST_F(FolderWindowTest, ClicksAndActivationStopTheIconAndClicksCloseTheNotificationWindow)
{
    start("[Setup]\r\nCheckConnect=0\r\nAutoReceive=1\r\n[MoveMail]\r\nspam=ごみ箱\r\n[Action]\r\nspam=1,0,0\r\n");
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
