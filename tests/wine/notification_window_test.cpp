// The received-mail notification window of the real plug-in, with AutoReceive on: its
// rows, size, position keys and dismissal, on real windows in the replacement host.
#include "host_fixture.h"

#include <windows.h>
#include <commctrl.h>

#include <array>

namespace {

RECT RowBounds(HWND list, int item)
{
    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds));
    return bounds;
}

RECT Bounds(HWND window, bool client = false)
{
    RECT bounds = {};
    client ? GetClientRect(window, &bounds) : GetWindowRect(window, &bounds);
    return bounds;
}

// Records how the notification window was placed: the flags of every positioning that showed it.
// Whether the window is active afterwards cannot tell: tests run side by side on one display,
// and when another test's active window goes away the system may activate this topmost one.
// What the plug-in decides is whether showing it asks for activation.
class ShowFlagsRecorder {
public:
    explicit ShowFlagsRecorder(HWND window) : window_(window)
    {
        active_ = this;
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
    }
    ~ShowFlagsRecorder()
    {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        active_ = nullptr;
    }
    const std::vector<UINT>& showFlags() const { return showFlags_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_WINDOWPOSCHANGING) {
            const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
            if ((position->flags & SWP_SHOWWINDOW) != 0) {
                active_->showFlags_.push_back(position->flags);
            }
        }
        return CallWindowProcA(active_->previous_, window, message, wParam, lParam);
    }

    static inline ShowFlagsRecorder* active_ = nullptr;
    HWND window_;
    WNDPROC previous_ = nullptr;
    std::vector<UINT> showFlags_;
};

class NotificationWindowTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        writePluginIni("[Setup]\r\nCheckConnect=0\r\nAutoReceive=1\r\n[MoveMail]\r\nspam=ごみ箱\r\n"
                       "work=郵便受け\r\n[Action]\r\nspam=1,0,0\r\nwork=0,0,0\r\n");
        ASSERT_TRUE(startPlugin());
        account = addAccount("acct", "Home");
        host().openFolder(Mailbox::inbox(account));
        window = FindWindowOfThisProcess("TARNWICK_MESSAGE_WINDOW");
        list = FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr);
        ASSERT_NE(list, nullptr);
    }

    int rows() const { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

    void receiveSpam(int count, const std::string& from = "a@example.jp", const std::string& body = "b")
    {
        const std::string message =
            MailText({"From: " + from, "Subject: =?UTF-8?B?5Lu25ZCN?=", "X-Text-Classification: spam"}, body);
        host().retrieve(account, std::vector<std::string>(static_cast<std::size_t>(count), message));
    }

    // Pumps until the window is hidden, for at most 5 s.
    bool hidden()
    {
        for (int i = 0; i < 250 && IsWindowVisible(window); ++i) {
            host().pumpMessagesFor(20);
        }
        return !IsWindowVisible(window);
    }

    std::string account;
    HWND window = nullptr;
    HWND list = nullptr;
};

TEST_F(NotificationWindowTest, ShowsRowsOnTopWithoutTakingTheFocusAndGrowsPerRow)
{
    std::vector<UINT> showFlags;
    {
        const ShowFlagsRecorder recorder(window);
        host().retrieve(account, {MailText({"X-Text-Classification: work"}, "not shown")});
        receiveSpam(1, "taro (Taro Tanaka)", "本文の　先頭\r\n二行目\r\n");
        receiveSpam(1);
        showFlags = recorder.showFlags();
    }

    ASSERT_TRUE(IsWindowVisible(window));
    ASSERT_FALSE(showFlags.empty()) << "shown by a positioning that the window sees";
    for (const UINT flags : showFlags) {
        EXPECT_NE(flags & SWP_NOACTIVATE, 0u) << "showing must not take the focus from the host";
    }
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "受信メール表示");
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              WS_EX_TOPMOST | WS_EX_TOOLWINDOW);

    ASSERT_EQ(rows(), 2);
    std::string row0;
    for (int column = 0; column < 4; ++column) {
        row0 += (column > 0 ? "|" : "") + ListViewCellText(list, 0, column);
    }
    EXPECT_EQ(row0, "spam|Taro Tanaka taro|=?UTF-8?B?5Lu25ZCN?=|本文の 先頭 二行目 ") << Utf8(row0);
    const int width = Bounds(window, true).right;
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0), width * (column + 1) / 10);
    }
    EXPECT_LE(RowBounds(list, 1).bottom, Bounds(list, true).bottom) << "every row is in sight";

    const RECT before = Bounds(window);
    EXPECT_EQ((std::array<LONG, 3>{before.left, before.top, before.right}), (std::array<LONG, 3>{0, 0, 400}));
    receiveSpam(1);
    const RECT after = Bounds(window);
    const RECT row = RowBounds(list, 2);
    EXPECT_EQ(after.bottom - before.bottom, row.bottom - row.top) << "one row taller";
    EXPECT_TRUE(after.left == before.left && after.top == before.top && after.right == before.right);
    EXPECT_LE(row.bottom, Bounds(list, true).bottom);
}

TEST_F(NotificationWindowTest, EscapeClicksAndCloseBoxHideAndEmptyItWritingThePositionOnlyWhenMoved)
{
    receiveSpam(2);
    const std::optional<std::string> iniBefore = pluginIniBytes();
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(hidden());
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(pluginIniBytes(), iniBefore) << "not moved: nothing written";

    receiveSpam(1);
    EXPECT_EQ(rows(), 1) << "only the rows added after the close";
    // A real click, where no other test's windows lie (they keep to the left and the middle).
    const SharedPointerLock pointer;
    SetWindowPos(window, nullptr, 600, 620, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    POINT point = {RowBounds(list, 0).left + 10, RowBounds(list, 0).top + 5};
    ClientToScreen(list, &point);
    SetCursorPos(point.x, point.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    ASSERT_TRUE(hidden());
    EXPECT_EQ(rows(), 0);
    const std::string ini = pluginIniBytes().value_or(std::string());
    const std::size_t top = ini.find("winTop=620\r\n");
    EXPECT_NE(top, std::string::npos) << ini;
    EXPECT_EQ(ini.find("winLeft=600\r\nwinWidth=400\r\n"), top + 12) << ini;

    receiveSpam(1);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(hidden());
    EXPECT_EQ(rows(), 0);
}

// Without a limit, a large retrieval would push the window's lower rows off the screen.
TEST_F(NotificationWindowTest, LargeRetrievalKeepsTheWindowInsideTheWorkAreaAndScrolls)
{
    receiveSpam(70);
    ASSERT_EQ(rows(), 70);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(Bounds(window).bottom, monitor.rcWork.bottom);
    EXPECT_GT(RowBounds(list, 69).bottom, Bounds(list, true).bottom) << "the last rows scroll";
    EXPECT_NE(GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL, 0);
}

}  // namespace
