// The replacement host itself: the parts of the client's contract that the plug-in's tests
// rely on, checked without the plug-in.
#include "host_fixture.h"

namespace {

using ReplacementHostTest = HostFixture;

struct CallbackRecord {
    HostWindow window = nullptr;
    intptr_t parameter = -1;
    int runs = 0;
    int runsBeforeStop = 0;
};
CallbackRecord record;

void TW_STDCALL RecordCommand(HostWindow window, intptr_t parameter)
{
    record.window = window;
    record.parameter = parameter;
    ++record.runs;
}

int TW_STDCALL CountTicks(HostWindow window, intptr_t parameter)
{
    record.window = window;
    record.parameter = parameter;
    ++record.runs;
    return record.runs < record.runsBeforeStop ? 1 : 0;
}

TEST_F(ReplacementHostTest, ExportsEveryServiceUnderItsDecoratedName)
{
    const HostApi services = hostServices();
    ASSERT_TRUE(services.resolved());
    EXPECT_STREQ(services.APAGetMailbox(), (host().programFolder() + "MailBox\\").c_str());
    EXPECT_EQ(services.APAJisToSjis(1, 2, 3), 0);
    EXPECT_EQ(host().callsTo("APAJisToSjis").at(0).arguments,
              (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(ReplacementHostTest, RegisteredCommandReachesItsCallbackThroughTheFrame)
{
    const HostApi services = hostServices();
    record = {};
    const unsigned command = services.APARegistCallback(RecordCommand, 42);
    EXPECT_NE(command, services.APARegistCallback(RecordCommand, 43)) << "numbers are never shared";

    host().sendCommand(host().frame(), command);
    EXPECT_EQ(record.runs, 1);
    EXPECT_EQ(record.window, host().frame());
    EXPECT_EQ(record.parameter, 42);
}

TEST_F(ReplacementHostTest, TimerRunsUntilItsCallbackReturnsZero)
{
    const HostApi services = hostServices();
    record = {};
    record.runsBeforeStop = 3;
    const unsigned timer = services.APASetTimer(100, CountTicks, 7);
    ASSERT_EQ(host().liveTimers().size(), 1u);
    EXPECT_EQ(host().liveTimers()[0].id, timer);
    EXPECT_EQ(host().liveTimers()[0].milliseconds, 100u);

    host().stepTimers();
    host().stepTimers();
    EXPECT_EQ(record.runs, 2);
    EXPECT_EQ(record.window, nullptr);
    EXPECT_EQ(record.parameter, 7);
    host().stepTimers();
    EXPECT_TRUE(host().liveTimers().empty()) << "a callback returning 0 stops its timer";
    EXPECT_EQ(services.APAKillTimer(timer), 0) << "already stopped";
}

TEST_F(ReplacementHostTest, RealTimerTicksOnTheMessageLoopAndStopsWhenKilled)
{
    const HostApi services = hostServices();
    record = {};
    record.runsBeforeStop = 1000;
    const unsigned timer = services.APASetTimer(10, CountTicks, 0);
    // Ticks come when the loaded machine lets them: wait for the first, with a deadline.
    for (const ULONGLONG deadline = GetTickCount64() + 10000;
         record.runs == 0 && GetTickCount64() < deadline;) {
        host().pumpMessagesFor(20);
    }
    EXPECT_GT(record.runs, 0);
    EXPECT_EQ(services.APAKillTimer(timer), 1);
    const int runs = record.runs;
    host().pumpMessagesFor(100);
    EXPECT_EQ(record.runs, runs);
}

TEST_F(ReplacementHostTest, DestinationsNameFoldersByAccountTitleAndDisplayPath)
{
    const std::string account = addAccount("acct", "口座");
    const std::string group = mailbox().addGroup(account, "グループ");
    const std::string inner = mailbox().addFolder(group, "表示");  // 0x5C trail byte in 表
    const std::string work = mailbox().addFolder(account, "仕事");

    EXPECT_EQ(mailbox().resolveDestination("口座\\グループ\\表示"), inner);
    EXPECT_EQ(mailbox().resolveDestination("口座\\仕事"), work);
    EXPECT_EQ(mailbox().resolveDestination("口座\\郵便受け"), Mailbox::inbox(account));
    EXPECT_EQ(mailbox().resolveDestination("口座\\ごみ箱"), Mailbox::trash(account));
    EXPECT_EQ(mailbox().resolveDestination("口座\\グループ"), std::nullopt) << "a group holds no mail";
    EXPECT_EQ(mailbox().resolveDestination("他人\\仕事"), std::nullopt);
    EXPECT_EQ(mailbox().displayPath(inner), "グループ\\表示");
}

TEST_F(ReplacementHostTest, MailServicesWorkOnTheFiles)
{
    const HostApi services = hostServices();
    const std::string account = addAccount("acct", "口座");
    const std::string work = mailbox().addFolder(account, "仕事");
    const std::string mail = mailbox().addMessage(Mailbox::inbox(account), "Subject: a\r\n\r\nb\r\n");

    EXPECT_EQ(services.APAMarkMail(mail.c_str(), 3, 1), 1);
    EXPECT_EQ(host().markOf(mail), 3);
    EXPECT_EQ(services.APAMoveMail(mail.c_str(), "口座\\仕事"), 1);
    ASSERT_EQ(mailbox().messagesIn(work).size(), 1u);
    const std::string moved = mailbox().messagesIn(work)[0];
    EXPECT_FALSE(mailbox().messageExists(mail));
    EXPECT_EQ(host().markOf(moved), 3) << "the mark travels with the message";
    EXPECT_EQ(host().callsTo("APAMoveMail").at(0).detail, moved);

    EXPECT_EQ(services.APAImportFile(mailbox().messagePath(moved).c_str(), "口座\\ない", 0), 0);
    EXPECT_EQ(services.APAMarkMail(moved.c_str(), 7, 0), 1);
    EXPECT_EQ(host().markOf(moved), 0);
    EXPECT_EQ(services.APADeleteMail(moved.c_str()), 1);
    EXPECT_TRUE(mailbox().messagesIn(work).empty());
}

TEST_F(ReplacementHostTest, WindowsHaveTheClassesThePluginLooksFor)
{
    const std::string account = addAccount("acct", "口座");
    mailbox().addFolder(mailbox().addGroup(account, "G"), "x");
    host().openFolder(Mailbox::inbox(account));

    HWND pane = FindWindowExA(host().frame(), nullptr, "AfxMDIFrame42s", nullptr);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(FindWindowExA(pane, nullptr, "SysTreeView32", nullptr), host().folderTree());
    EXPECT_EQ(FindWindowExA(host().frame(), nullptr, "ToolbarWindow32", nullptr), host().toolbar());
    EXPECT_NE(host().treeItem("G\\x"), nullptr);
    EXPECT_NE(host().treeItem("郵便受け"), nullptr);
    EXPECT_EQ(GetMenuState(GetSubMenu(GetMenu(host().frame()), 3), ReplacementHost::kReceiveCommand,
                           MF_BYCOMMAND) & MF_GRAYED,
              0u);
    HostApi services = hostServices();
    EXPECT_STREQ(services.APAGetAccount(host().frame()), (mailbox().root() + "acct\\").c_str());
    EXPECT_STREQ(services.APAFolderGetCurrentFolder(host().frame()), "acct\\inbox.box");
}

TEST_F(ReplacementHostTest, DialogWatcherAnswersAMessageBox)
{
    DialogWatcher watcher("確認");
    watcher.expectText("本文です");
    EXPECT_EQ(MessageBoxA(host().frame(), "本文です", "確認", MB_OK), IDOK);
    ASSERT_TRUE(watcher.waitFor(1));
    EXPECT_EQ(watcher.seen()[0].text, "本文です");
}

}  // namespace

namespace {

using HostDialogTest = HostFixture;

TEST_F(HostDialogTest, ErrorBoxIsOwnedByTheFrameAndAnsweredWithOk)
{
    DialogWatcher watcher("エラー");
    watcher.expectText("サーバーに接続できません");
    EXPECT_EQ(host().showErrorBox("サーバーに接続できません"), IDOK);
    ASSERT_TRUE(watcher.waitFor(1));
    EXPECT_EQ(watcher.seen()[0].text, "サーバーに接続できません");
    EXPECT_EQ(watcher.seen()[0].pressed, "OK");
}

TEST_F(HostDialogTest, PasswordPromptShowsItsTextAndCanBeCancelled)
{
    DialogWatcher watcher("", "キャンセル");
    watcher.expectText("パスワードを入力してください");
    EXPECT_EQ(host().showPasswordPrompt(), IDCANCEL);
    ASSERT_TRUE(watcher.waitFor(1));
    EXPECT_EQ(watcher.seen()[0].statics, std::vector<std::string>{"パスワードを入力してください"});
}

}  // namespace
