#include "plugin/receive_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/platform.h"
#include "plugin/plugin_state.h"
#include "doubles/code_page_converter_fake.h"
#include "doubles/file_system_fake.h"
#include "doubles/host_services_fake.h"
#include "doubles/profile_store_fake.h"
#include "doubles/summary_services_fake.h"

namespace {

using Events = std::vector<std::string>;

class ReceiveSummaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.host = host.api;
        state.summaryCommandId = 50001;
        state.settings.DispDialog = true;
        const char* const rules[][2] = {{"spam", "ごみ箱"}, {"personal", "郵便受け"}, {"work", "仕事"}};
        for (const auto& [bucket, folder] : rules) {
            SortRule rule;
            rule.position = static_cast<int32_t>(state.sortRules.size());
            rule.bucket = bucket;
            rule.folder = folder;
            rule.action = rule.position == 2 ? kActionChangeIcon : kActionShowMessage;
            state.sortRules.push_back(rule);
        }
    }

    void receive(int32_t ruleIndex, const std::string& from, const std::string& subject = "")
    {
        state.receivedEntries.push_back({from, subject, "excerpt", ruleIndex});
    }
    void runSummary() { RunReceiveSummary(state, codePage, services, nullptr); }

    HostServicesFake host;
    PluginState state;
    CodePageConverterFake codePage;
    HostActivityFake activity;
    NotificationRowsFake notification;
    SummarySignalsFake signals;
    SummaryServices services{activity, notification, signals};
};

// A 500-byte buffer holds 499 bytes of a header line: a longer name is cut at a character
// boundary, so that the count and the line end remain.
TEST_F(ReceiveSummaryTest, OverlongHeaderLineIsCutInsideTheName)
{
    std::string folder;
    for (int i = 0; i < 255; ++i) {
        folder += "あ";
    }
    folder += "x";  // 511 bytes, the longest name the INI file gives
    const std::string end = "]へ 12 件移動しました\n";  // 22 bytes
    EXPECT_EQ(SummaryHeaderLine("spam", folder, 12), "[" + folder.substr(0, 476) + end);
    EXPECT_EQ(SummaryHeaderLine(std::string(600, 'b'), "郵便受け", 1),
              "[" + std::string(477, 'b') + "]を 1 件受信しました\n");
    EXPECT_EQ(SummaryHeaderLine("spam", "ごみ箱", 2), "[ごみ箱]へ 2 件移動しました\n");
}

TEST_F(ReceiveSummaryTest, NotificationSenderPutsTheNameInParenthesesFirst)
{
    EXPECT_EQ(ReorderSender("taro (Taro Tanaka)"), "Taro Tanaka taro");
    EXPECT_EQ(ReorderSender("Taro <taro@example.jp>"), "Taro <taro@example.jp>");
    EXPECT_EQ(ReorderSender("a) b (c"), "a) b (c");
    EXPECT_EQ(ReorderSender("x ()"), "x () x");
    EXPECT_EQ(ReorderSender("田中(Tanaka)"), "Tanaka 田") << "the whole character before ( goes";
}

TEST_F(ReceiveSummaryTest, AutoReceiveShowsTheWindowAgainForRowsOfAnEarlierRetrieval)
{
    state.settings.AutoReceive = true;
    receive(0, "taro (Taro Tanaka)", "=?UTF-8?B?5Lu25ZCN?=");
    runSummary();
    ASSERT_EQ(notification.rows.size(), 1u);
    EXPECT_EQ(notification.rows[0].sender, "Taro Tanaka taro");
    receive(2, "not shown");
    runSummary();
    EXPECT_EQ(notification.rows.size(), 1u);
    EXPECT_EQ(notification.shows, 2);
    EXPECT_EQ(signals.events, (Events{"icon", "beep", "icon", "beep"}));
}

// The wait handles the thread's messages; the host may deliver more messages and run the
// summary again from there. That run goes on with the same entries, skips one whose rule
// was edited away, and the interrupted run finds nothing left: each message is told once.
TEST_F(ReceiveSummaryTest, SummaryStartedDuringTheWaitReportsEachMessageOnce)
{
    receive(0, "one@example.jp");
    receive(7, "rule edited away");
    activity.activePolls = 2;
    activity.onMessage = [this] {
        if (activity.messagesHandled == 1) {
            receive(0, "late@example.jp", "arrived");
            runSummary();
        }
    };
    runSummary();
    EXPECT_EQ(activity.messagesHandled, 2);
    EXPECT_EQ(signals.events, (Events{"icon", "box [ごみ箱]へ 2 件移動しました\n"
                                              "  one@example.jp\n"
                                              "  late@example.jp : arrived\n"}));
    EXPECT_TRUE(state.receivedEntries.empty());
}

TEST_F(ReceiveSummaryTest, QuitRequestEndsTheWait)
{
    activity.activePolls = 1000000;
    activity.quitting = true;
    receive(1, "a@example.jp");
    runSummary();
    EXPECT_EQ(activity.messagesHandled, 1);
    EXPECT_EQ(signals.events.back(), "box [personal]を 1 件受信しました\n  a@example.jp\n");
}

const char* TW_STDCALL CurrentFolderOfAccountRoot(HostWindow)
{
    return "home";
}

TEST_F(ReceiveSummaryTest, EndOfRetrievalPostsTheSummaryOrStartsTheIcon)
{
    ProfileStoreFake profile;
    FileSystemFake files;
    Platform platform{profile, files, codePage};
    host.mailbox = "C:\\Mail\\";
    host.account = "C:\\Mail\\home\\";
    state.host.APAFolderGetCurrentFolder = CurrentFolderOfAccountRoot;
    state.settings.AfterSetBold = true;
    CountSortedMail(state.newMailTally, "C:\\Mail\\home\\", "ごみ箱");
    CountSortedMail(state.newMailTally, "C:\\Mail\\home\\", "郵便受け");

    receive(0, "a@example.jp");
    state.iconChangeWanted = true;
    EndRetrieval(state, platform, signals, nullptr);
    EXPECT_EQ(signals.events, Events{"post 50001"});
    EXPECT_TRUE(state.iconChangeWanted) << "left for the summary";
    // A folder text without a backslash stands for the account's trash.
    const AccountTally* account = FindAccountTally(state.newMailTally, host.account);
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(account->findFolder("ごみ箱")->count, 0);
    EXPECT_EQ(account->findFolder("郵便受け")->count, 1);

    state.receivedEntries.clear();
    EndRetrieval(state, platform, signals, nullptr);
    EndRetrieval(state, platform, signals, nullptr);
    EXPECT_EQ(signals.events, (Events{"post 50001", "icon"})) << "the request is used once";
}

}  // namespace
