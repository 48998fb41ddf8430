#include "core/receive_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/platform.h"
#include "core/plugin_state.h"
#include "doubles/code_page_converter_fake.h"
#include "doubles/file_system_fake.h"
#include "doubles/host_services_fake.h"
#include "doubles/profile_store_fake.h"
#include "doubles/summary_services_fake.h"

namespace {

using Events = std::vector<std::string>;

HostWindow const kWindow = reinterpret_cast<HostWindow>(0x1234);

class ReceiveSummaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.host = host.api;
        state.summaryCommandId = 50001;
        state.settings.DispDialog = true;
        addRule("spam", "ごみ箱", kActionShowMessage);
        addRule("personal", "郵便受け", kActionShowMessage);
        addRule("work", "仕事", kActionChangeIcon);
        addRule("news", "ニュース", kActionNothing);
        addRule("idle", "趣味", kActionShowMessage);
    }

    void addRule(const std::string& bucket, const std::string& folder, int32_t action)
    {
        SortRule rule;
        rule.position = static_cast<int32_t>(state.sortRules.size());
        rule.bucket = bucket;
        rule.folder = folder;
        rule.action = action;
        state.sortRules.push_back(rule);
    }

    void receive(int32_t ruleIndex, const std::string& from, const std::string& subject = "",
                 const std::string& excerpt = "")
    {
        state.receivedEntries.push_back({from, subject, excerpt, ruleIndex});
    }

    void runSummary() { RunReceiveSummary(state, codePage, services, kWindow); }

    HostServicesFake host;
    PluginState state;
    CodePageConverterFake codePage;
    HostActivityFake activity;
    NotificationRowsFake notification;
    SummarySignalsFake signals;
    SummaryServices services{activity, notification, signals};
};

TEST_F(ReceiveSummaryTest, MessageBoxHasOneBlockPerShowingRuleInRuleOrder)
{
    receive(1, "Hanako <hanako@example.jp>", "昼食");
    receive(0, "a@example.jp", "Win");
    receive(2, "work@example.jp", "counted nowhere");
    receive(3, "news@example.jp", "counted nowhere");
    receive(0, "", "Only a subject");
    receive(0, "", "");
    receive(7, "edited away", "the rule is gone");
    receive(-1, "negative", "index");
    state.sortRules[4].summaryText = "left over";  // a rule without messages contributes nothing

    runSummary();

    EXPECT_EQ(signals.events, (Events{"icon", "box [ごみ箱]へ 3 件移動しました\n"
                                              "  a@example.jp : Win\n"
                                              "  Only a subject\n"
                                              "[personal]を 1 件受信しました\n"
                                              "  Hanako : 昼食\n"}));
    EXPECT_TRUE(state.receivedEntries.empty());
    EXPECT_FALSE(state.messageBoxOpen);
    for (const SortRule& rule : state.sortRules) {
        EXPECT_EQ(rule.summaryCount, 0) << rule.bucket;
        EXPECT_EQ(rule.summaryText, "") << rule.bucket;
    }
}

TEST_F(ReceiveSummaryTest, MessageLinesUseTheDisplayForms)
{
    struct Row {
        const char* from;
        const char* subject;
        int32_t fromLength;
        const char* line;
    };
    const Row rows[] = {
        {"\"Tanaka Taro\" <tanaka@example.jp>", "Re: (lunch) today", 10, "  Tanaka Tar : lunch\n"},
        {"<only@example.jp>", "  ", 0, "  only@example.jp\n"},
        {"   ", "件名", 0, "  件名\n"},
        {"=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= <t@example.jp>", "x", 0,
         "  =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= : x\n"},
        {"=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= <t@example.jp>", "", 5, "  テス\n"},
        {"", "", 10, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SummaryMessageLine(row.from, row.subject, row.fromLength, codePage), row.line)
            << row.from << " / " << row.subject;
    }
}

// A header line of 500 bytes or more would not fit the line's buffer: the name is cut at a
// character boundary instead, so the count and the line end remain.
TEST_F(ReceiveSummaryTest, OverlongHeaderLineIsCutInsideTheName)
{
    std::string folder;
    for (int i = 0; i < 255; ++i) {
        folder += "あ";
    }
    folder += "x";  // 511 bytes, the longest name the INI file gives
    const std::string moved = SummaryHeaderLine("spam", folder, 12);
    const std::string end = "]へ 12 件移動しました\n";
    ASSERT_LE(moved.size(), kSummaryHeaderLimit);
    ASSERT_GE(moved.size(), kSummaryHeaderLimit - 1);
    EXPECT_EQ(moved.substr(moved.size() - end.size()), end);
    const std::string kept = moved.substr(1, moved.size() - 1 - end.size());
    EXPECT_EQ(kept.size() % 2, 0u) << "whole double-byte characters only";
    EXPECT_EQ(folder.compare(0, kept.size(), kept), 0);

    const std::string bucket(600, 'b');
    const std::string received = SummaryHeaderLine(bucket, "郵便受け", 1);
    // 499 bytes: "[", 477 bytes of the name and the 21 bytes from "]" on.
    EXPECT_EQ(received, "[" + std::string(477, 'b') + "]を 1 件受信しました\n");
    EXPECT_EQ(SummaryHeaderLine("spam", "ごみ箱", 2), "[ごみ箱]へ 2 件移動しました\n");
}

TEST_F(ReceiveSummaryTest, SenderOfANotificationRowPutsTheNameInParenthesesFirst)
{
    EXPECT_EQ(ReorderSender("taro (Taro Tanaka)"), "Taro Tanaka taro");
    EXPECT_EQ(ReorderSender("Taro <taro@example.jp>"), "Taro <taro@example.jp>");
    EXPECT_EQ(ReorderSender("(Taro)"), "Taro");
    EXPECT_EQ(ReorderSender("a) b (c"), "a) b (c");
    EXPECT_EQ(ReorderSender("x ()"), "x () x");
    // The character dropped before "(" is a whole double-byte one.
    EXPECT_EQ(ReorderSender("田中(Tanaka)"), "Tanaka 田");
}

TEST_F(ReceiveSummaryTest, AutoReceiveShowsTheWindowWithItsRowsAndEarlierOnes)
{
    state.settings.AutoReceive = true;
    state.settings.Beep = true;
    notification.rows.push_back({"old", "", "", ""});
    receive(0, "taro (Taro Tanaka)", "=?UTF-8?B?5Lu25ZCN?=", "本文の先頭");
    receive(2, "ignored", "ignored");

    runSummary();

    ASSERT_EQ(notification.rows.size(), 2u);
    const NotificationRow& row = notification.rows[1];
    EXPECT_EQ(row.bucket, "spam");
    EXPECT_EQ(row.sender, "Taro Tanaka taro");
    EXPECT_EQ(row.subject, "=?UTF-8?B?5Lu25ZCN?=") << "rows are not decoded";
    EXPECT_EQ(row.body, "本文の先頭");
    EXPECT_EQ(notification.shows, 1);
    EXPECT_EQ(signals.events, (Events{"beep", "icon", "beep"}));
    EXPECT_EQ(state.sortRules[0].summaryCount, 0);

    // Nothing new, but rows of the earlier retrieval wait: shown again.
    signals.events.clear();
    receive(2, "ignored");
    state.settings.Beep = false;
    runSummary();
    EXPECT_EQ(notification.shows, 2);
    EXPECT_EQ(signals.events, (Events{"icon", "beep"}));
}

TEST_F(ReceiveSummaryTest, WithoutAnythingToShowOnlyTheRequestedIconStarts)
{
    receive(2, "work@example.jp");
    state.iconChangeWanted = true;
    runSummary();
    EXPECT_EQ(signals.events, Events{"icon"});
    EXPECT_FALSE(state.iconChangeWanted);

    signals.events.clear();
    receive(3, "news@example.jp");
    runSummary();
    EXPECT_EQ(signals.events, Events{});

    // DispDialog off: counted messages give a beep, but no box.
    state.settings.DispDialog = false;
    state.settings.Beep = true;
    state.iconChangeWanted = true;
    receive(0, "a@example.jp");
    runSummary();
    EXPECT_EQ(signals.events, (Events{"beep", "icon"}));
}

TEST_F(ReceiveSummaryTest, WaitsWhileTheHostIsBusyAndTakesMessagesArrivingMeanwhile)
{
    activity.activePolls = 3;
    activity.onMessage = [this] {
        if (activity.messagesHandled == 1) {
            receive(0, "late@example.jp", "arrived during the wait");
        }
    };
    receive(0, "early@example.jp", "first");

    runSummary();

    EXPECT_EQ(activity.messagesHandled, 3);
    EXPECT_EQ(host.callsTo("APAIsBusy").size(), 5u) << "asked before every entry and each poll";
    EXPECT_EQ(signals.events, (Events{"icon", "box [ごみ箱]へ 2 件移動しました\n"
                                              "  early@example.jp : first\n"
                                              "  late@example.jp : arrived during the wait\n"}));
}

TEST_F(ReceiveSummaryTest, QuitRequestEndsTheWait)
{
    activity.activePolls = 1000000;
    activity.quitting = true;
    receive(0, "a@example.jp");
    runSummary();
    EXPECT_EQ(activity.messagesHandled, 1);
    EXPECT_EQ(signals.events.size(), 2u);
}

int busyAnswers = 0;

int TW_STDCALL BusyAtTheSecondQuestion()
{
    return ++busyAnswers == 2 ? 1 : 0;
}

// The host may run the summary again from the message loop of the wait: that run goes on
// with the same entries, and no entry is counted twice.
TEST_F(ReceiveSummaryTest, SummaryStartedDuringTheWaitReportsEachMessageOnce)
{
    receive(0, "one@example.jp");
    receive(0, "two@example.jp");
    receive(0, "three@example.jp");
    int depth = 0;
    activity.onMessage = [this, &depth] {
        if (depth++ == 0) {
            runSummary();
        }
    };
    busyAnswers = 0;
    state.host.APAIsBusy = BusyAtTheSecondQuestion;

    runSummary();

    EXPECT_EQ(signals.events, (Events{"icon", "box [ごみ箱]へ 3 件移動しました\n"
                                              "  one@example.jp\n"
                                              "  two@example.jp\n"
                                              "  three@example.jp\n"}));
}

TEST_F(ReceiveSummaryTest, SummaryWhileTheBoxIsOpenDropsItsText)
{
    receive(0, "first@example.jp");
    signals.whileBoxOpen = [this] {
        signals.whileBoxOpen = nullptr;
        receive(1, "second@example.jp");
        runSummary();
    };
    runSummary();
    EXPECT_EQ(signals.events, (Events{"icon", "box [ごみ箱]へ 1 件移動しました\n  first@example.jp\n",
                                      "icon"}));
    EXPECT_EQ(state.sortRules[1].summaryCount, 0) << "the dropped summary's counts are reset";
    EXPECT_FALSE(state.messageBoxOpen);

    receive(0, "third@example.jp");
    runSummary();
    EXPECT_EQ(signals.events.back(), "box [ごみ箱]へ 1 件移動しました\n  third@example.jp\n");
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
    CountSortedMail(state.newMailTally, state.host, "C:\\Mail\\home\\inbox.box\\1.CRV", "ごみ箱");
    CountSortedMail(state.newMailTally, state.host, "C:\\Mail\\home\\inbox.box\\2.CRV", "郵便受け");

    receive(0, "a@example.jp");
    state.iconChangeWanted = true;
    EndRetrieval(state, platform, signals, kWindow);
    EXPECT_EQ(signals.events, Events{"post 50001"});
    EXPECT_TRUE(state.iconChangeWanted) << "left for the summary";
    // A folder text without a backslash stands for the account's trash.
    const AccountTally* account = FindAccountTally(state.newMailTally, host.account);
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(account->findFolder("ごみ箱")->count, 0);
    EXPECT_EQ(account->findFolder("郵便受け")->count, 1);

    state.receivedEntries.clear();
    signals.events.clear();
    EndRetrieval(state, platform, signals, kWindow);
    EXPECT_EQ(signals.events, Events{"icon"});
    EXPECT_FALSE(state.iconChangeWanted);
    EndRetrieval(state, platform, signals, kWindow);
    EXPECT_EQ(signals.events, Events{"icon"}) << "nothing asked for it any more";
}

}  // namespace
