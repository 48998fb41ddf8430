// The plug-in's toolbar button in the host's folder window: pressing it shows the popup
// "振り分け設定" / "POPFileを開く" / "POPFileとの接続を確認" at the pointer, and each item
// reaches its command, chosen from a second thread as a user would with the keyboard (the
// third in link_self_test_test.cpp).
#include "host_fixture.h"

#include <windows.h>

#include <functional>

#include "browser_recorder_win.h"
#include "dialog_driver_win.h"
#include "toolbar_popup_run_win.h"
#include "base/resource_ids.h"

namespace {

// The popup on screen: its items, then item position chosen.
void ChooseFromPopup(HWND menu, std::vector<MenuEntry>& shown, int position)
{
    shown = ShownPopupMenuItems(menu);
    ChooseShownPopupMenuItem(menu, position);
}

using ToolbarPopupTest = HostFixture;

TEST_F(ToolbarPopupTest, ItemsReachTheSettingsOwnedByTheWindowAndTheUrlSetting)
{
    BrowserRecorder browser;
    const std::string url = "http://127.0.0.1:1/toolbar-" + std::to_string(GetCurrentProcessId()) + "/";
    writePluginIni("[Setup]\r\nCheckConnect=0\r\nURL=" + url + "\r\n");
    ASSERT_TRUE(startPlugin());
    host().openFolder(Mailbox::inbox(addAccount("acct", "Home")));
    const std::vector<int> buttons = host().toolbarCommands();
    ASSERT_EQ(buttons.size(), 4u);
    const std::vector<HostCall> registered = host().callsTo("APARegistCallback");
    ASSERT_EQ(registered.size(), 5u);
    const SharedPointerLock pointer;

    std::vector<MenuEntry> shown;
    HWND owner = nullptr;
    host().clearCalls();
    DrivenRun run = RunToolbarPopup(host(), buttons[3], [&](DialogDriver& driver, HWND menu) {
        ChooseFromPopup(menu, shown, 0);
        HWND dialog = driver.waitForDialog("Tarnwick 振り分け設定", IDC_SORT_RULE_LIST);
        owner = GetWindow(dialog, GW_OWNER);
        driver.closeWith(dialog, IDCANCEL);
    });
    ASSERT_EQ(run.failure, "");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].label, "振り分け設定");
    EXPECT_EQ(std::to_string(shown[0].id), registered[2].result);
    EXPECT_EQ(shown[1].label, "POPFileを開く");
    EXPECT_EQ(std::to_string(shown[1].id), registered[3].result);
    EXPECT_EQ(shown[2].label, "POPFileとの接続を確認");
    EXPECT_EQ(std::to_string(shown[2].id), registered[4].result);
    EXPECT_EQ(owner, host().frame());
    const std::vector<HostCall> asked = host().callsTo("APAGetAccount");
    ASSERT_FALSE(asked.empty()) << "the destinations are read for the window's account";
    EXPECT_EQ(asked[0].arguments.at(0), LoggedPointer(host().frame()));

    // With a URL setting, the URL is opened, not the current message's page.
    const std::string page = "http://127.0.0.1:1/mail-" + std::to_string(GetCurrentProcessId()) + "/";
    host().setCurrentEntry(mailbox().addMessage(Mailbox::inbox("acct"),
                                                MailText({"X-POPFile-Link: " + page}, "x\r\n")));
    run = RunToolbarPopup(host(), buttons[3],
                          [&](DialogDriver&, HWND menu) { ChooseFromPopup(menu, shown, 1); });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(browser.opened(url), std::vector<std::string>{url});
    EXPECT_TRUE(browser.opened(page, std::chrono::milliseconds(0)).empty());
}

}  // namespace
