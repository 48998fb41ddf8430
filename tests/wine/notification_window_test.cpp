// The received-mail notification window of the real plug-in, with AutoReceive on: its
// rows, size, position keys and dismissal, on real windows in the replacement host.
#include "host_fixture.h"

#include <windows.h>
#include <commctrl.h>

namespace {

const char* const kAutoReceiveIni =
    "[Setup]\r\nCheckConnect=0\r\nAutoReceive=1\r\n"
    "[MoveMail]\r\nspam=ごみ箱\r\nwork=仕事\r\n"
    "[Action]\r\nspam=1,0,0\r\nwork=0,0,0\r\n";

std::string Message(const std::string& bucket, const std::string& from, const std::string& subject,
                    const std::string& body)
{
    return MailText({"From: " + from, "Subject: " + subject, "X-Text-Classification: " + bucket},
                    body);
}

std::string CellText(HWND list, int item, int column)
{
    char text[512] = {};
    LVITEMA data = {};
    data.iSubItem = column;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&data));
    return text;
}

RECT RowBounds(HWND list, int item)
{
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds));
    return bounds;
}

RECT BoundsOf(HWND window)
{
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    return bounds;
}

class NotificationWindowTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        writePluginIni(kAutoReceiveIni);
        ASSERT_TRUE(startPlugin());
        account = addAccount("acct", "Home");
        mailbox().addFolder(account, "仕事");
        host().openFolder(Mailbox::inbox(account));
        window = FindWindowOfThisProcess("TARNWICK_MESSAGE_WINDOW");
        ASSERT_NE(window, nullptr);
        list = FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr);
        ASSERT_NE(list, nullptr);
    }

    int rows() const { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

    void receiveSpam(int count)
    {
        std::vector<std::string> messages;
        for (int i = 0; i < count; ++i) {
            messages.push_back(Message("spam", "n" + std::to_string(i) + "@example.jp", "s", "b"));
        }
        host().retrieve(account, messages);
    }

    // Pumps until the window is hidden, for at most 5 s.
    bool waitUntilHidden()
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
    SetForegroundWindow(host().frame());
    SetActiveWindow(host().frame());
    host().pumpMessages();

    host().retrieve(account, {
        Message("spam", "taro (Taro Tanaka)", "=?UTF-8?B?5Lu25ZCN?=", "本文の　先頭\r\n二行目\r\n"),
        Message("work", "boss@example.jp", "not shown", "x"),
        Message("spam", "hanako@example.jp", "件名", "short"),
    });

    ASSERT_TRUE(IsWindowVisible(window));
    // Other tests' windows may take the foreground meanwhile; this one must never have it.
    EXPECT_NE(GetActiveWindow(), window) << "the host keeps the focus";
    EXPECT_NE(GetForegroundWindow(), window);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "受信メール表示");
    const LONG_PTR extended = GetWindowLongPtrA(window, GWL_EXSTYLE);
    EXPECT_NE(extended & WS_EX_TOPMOST, 0);
    EXPECT_NE(extended & WS_EX_TOOLWINDOW, 0);

    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(CellText(list, 0, 0), "spam");
    EXPECT_EQ(CellText(list, 0, 1), "Taro Tanaka taro");
    EXPECT_EQ(CellText(list, 0, 2), "=?UTF-8?B?5Lu25ZCN?=");
    EXPECT_EQ(CellText(list, 0, 3), "本文の 先頭 二行目 ") << Utf8(CellText(list, 0, 3));
    EXPECT_EQ(CellText(list, 1, 1), "hanako@example.jp");

    RECT client = {};
    GetClientRect(window, &client);
    const int width = client.right;
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0), width * (column + 1) / 10)
            << "column " << column << " of client width " << width;
    }

    RECT listClient = {};
    GetClientRect(list, &listClient);
    EXPECT_LE(RowBounds(list, 1).bottom, listClient.bottom) << "every row is in sight";

    const RECT before = BoundsOf(window);
    EXPECT_EQ(before.left, 0);
    EXPECT_EQ(before.top, 0);
    EXPECT_EQ(before.right - before.left, 400);
    receiveSpam(1);
    const RECT after = BoundsOf(window);
    const RECT row = RowBounds(list, 2);
    EXPECT_EQ(after.bottom - before.bottom, row.bottom - row.top) << "one row taller";
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.right, before.right);
    GetClientRect(list, &listClient);
    EXPECT_LE(row.bottom, listClient.bottom);
    EXPECT_NE(GetActiveWindow(), window);
}

TEST_F(NotificationWindowTest, EscapeAndClicksHideAndEmptyItWritingThePositionOnlyWhenMoved)
{
    receiveSpam(2);
    ASSERT_TRUE(IsWindowVisible(window));
    const std::optional<std::string> iniBefore = pluginIniBytes();

    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(waitUntilHidden());
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(pluginIniBytes(), iniBefore) << "not moved: nothing written";

    receiveSpam(1);
    ASSERT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(rows(), 1) << "only the rows added after the close";

    // A real click, where no other test's windows lie (they keep to the left and the middle).
    SetWindowPos(window, nullptr, 600, 620, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT cell = RowBounds(list, 0);
    POINT point = {cell.left + 10, (cell.top + cell.bottom) / 2};
    ClientToScreen(list, &point);
    SetCursorPos(point.x, point.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    ASSERT_TRUE(waitUntilHidden());
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(readPluginIni("Setup", "winTop"), "620");
    EXPECT_EQ(readPluginIni("Setup", "winLeft"), "600");
    EXPECT_EQ(readPluginIni("Setup", "winWidth"), "400");
    const std::string ini = pluginIniBytes().value_or(std::string());
    EXPECT_LT(ini.find("winTop="), ini.find("winLeft="));
    EXPECT_LT(ini.find("winLeft="), ini.find("winWidth="));

    // The caption's close box does the same.
    receiveSpam(1);
    ASSERT_TRUE(IsWindowVisible(window));
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(waitUntilHidden());
    EXPECT_EQ(rows(), 0);
}

// Without a limit, a large retrieval would push the window's lower rows off the screen.
TEST_F(NotificationWindowTest, LargeRetrievalKeepsTheWindowInsideTheWorkAreaAndScrolls)
{
    receiveSpam(70);
    ASSERT_TRUE(IsWindowVisible(window));
    ASSERT_EQ(rows(), 70);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT bounds = BoundsOf(window);
    EXPECT_LE(bounds.bottom, monitor.rcWork.bottom);
    EXPECT_GE(bounds.bottom, monitor.rcWork.bottom - 1) << "as tall as the work area allows";
    RECT listClient = {};
    GetClientRect(list, &listClient);
    EXPECT_GT(RowBounds(list, 69).bottom, listClient.bottom) << "the last rows are scrolled to";
    EXPECT_NE(GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL, 0);
}

}  // namespace
