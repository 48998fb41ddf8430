// The link self-test as the user reaches it: the toolbar popup's "POPFileとの接続を確認" and
// the other settings' "接続テスト", against the stand-in classifier answering, refusing,
// hanging and asking for a password. The report's window keeps answering while the checks
// run, and nothing is learnt, written or sent.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <sstream>

#include "base/resource_ids.h"
#include "classifier/http_client.h"
#include "driven_run_win.h"
#include "toolbar_popup_run_win.h"
#include "host_fixture.h"
#include "message_loop_watch_win.h"
#include "stand_in_classifier_win.h"

namespace {

using Clock = std::chrono::steady_clock;

// What one run of the dialog showed.
struct SelfTestSeen {
    HWND owner = nullptr;
    bool waitingShown = false;       // "確認中…" showed before the report
    std::string report;              // as shown, Utf8 for failure messages
    std::vector<std::string> lines;  // the report's lines, marks included
    long long reportMs = -1;         // from the dialog showing to the report
    long long longestStallMs = -1;   // of the dialog's window meanwhile
};

class LinkSelfTestFlowTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(classifier.running());
        pop3Port = classifier.reservePop3Port();
        ASSERT_NE(pop3Port, 0);
        const std::string account =
            mailbox().addAccount("acct", AccountSettings{"POPFile経由", "1", "127.0.0.1",
                                                         std::to_string(pop3Port)});
        mailbox().addFolder(account, "仕事");
        inbox = Mailbox::inbox(account);
    }

    // "Work" differs from the stand-in's "work" in letter case; "archive" is no bucket of it,
    // and its folder 保管 is missing.
    void Start(const std::string& url)
    {
        writePluginIni("[Setup]\r\nCheckConnect=0\r\nURL=" + url +
                       "\r\n[MoveMail]\r\nspam=ごみ箱\r\nWork=仕事\r\narchive=保管\r\n");
        ASSERT_TRUE(startPlugin());
        host().openFolder(inbox);
        iniBefore = pluginIniBytes();
    }

    // Waits for the report while watching the dialog's loop, then closes it with Escape.
    static void ReadReport(DialogDriver& driver, HWND dialog, SelfTestSeen& seen)
    {
        const auto shown = Clock::now();
        seen.owner = GetWindow(dialog, GW_OWNER);
        {
            MessageLoopWatch watch(dialog);
            const auto deadline = shown + std::chrono::milliseconds(4 * kRequestDeadlineMs + 10000);
            while ((seen.report = driver.text(dialog, IDC_SELF_TEST_REPORT)) == "確認中…" &&
                   Clock::now() < deadline) {
                seen.waitingShown = true;
                Sleep(50);
            }
            seen.reportMs =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shown).count();
            seen.longestStallMs = watch.longestStallMs();
        }
        std::istringstream in(seen.report);
        for (std::string line; std::getline(in, line, '\n');) {
            seen.lines.push_back(line.substr(0, line.find('\r')));
        }
        driver.pressKey(dialog, VK_ESCAPE);
        driver.waitUntilClosed(dialog);
    }

    // The toolbar button, its popup's third item, and the report.
    SelfTestSeen RunFromToolbar()
    {
        SelfTestSeen seen;
        const int button = host().toolbarCommands().back();
        const SharedPointerLock pointer;
        const DrivenRun run = RunToolbarPopup(host(), button, [&](DialogDriver& driver, HWND menu) {
            ChooseShownPopupMenuItem(menu, 2);
            ReadReport(driver, driver.waitForDialog("Tarnwick 接続テスト", IDC_SELF_TEST_REPORT), seen);
        });
        EXPECT_EQ(run.failure, "");
        return seen;
    }

    void ExpectNothingWrittenOrSent()
    {
        EXPECT_EQ(pluginIniBytes(), iniBefore) << "the self-test writes nothing";
        for (const StandInClassifier::Request& request : classifier.requests()) {
            EXPECT_EQ(request.method, "GET") << request.target;
        }
    }

    StandInClassifier classifier;
    int pop3Port = 0;
    std::string inbox;
    std::optional<std::string> iniBefore;
};

TEST_F(LinkSelfTestFlowTest, AnsweringClassifierFromTheToolbarNamesTheRulesThatCannotWork)
{
    ASSERT_TRUE(classifier.listenOnPop3Port());
    Start(classifier.baseUrl());
    const SelfTestSeen seen = RunFromToolbar();

    EXPECT_EQ(seen.owner, host().frame());
    std::string marks;
    for (const std::string& line : seen.lines) {
        marks += line.rfind("〇 ", 0) == 0 ? "o" : line.rfind("× ", 0) == 0 ? "x" : "?";
    }
    ASSERT_EQ(marks, "oooooxxxo") << Utf8(seen.report);
    EXPECT_EQ(seen.lines[0],
              "〇 POPFileのPOP3ポート (127.0.0.1:" + std::to_string(pop3Port) + ") に接続できます");
    EXPECT_EQ(seen.lines[4], "〇 POPFileのバケツ (3 個): spam, work, personal");
    EXPECT_NE(seen.lines[5].find(
                  "「Work」がPOPFileにありません。POPFileの「work」とは大文字小文字だけが違います"),
              std::string::npos);
    EXPECT_NE(seen.lines[6].find("「archive」がPOPFileにありません"), std::string::npos);
    EXPECT_NE(seen.lines[7].find("フォルダ「保管」がこの口座にありません"), std::string::npos);
    ASSERT_EQ(classifier.requests().size(), 2u);
    EXPECT_EQ(classifier.requests()[0].target, "/");
    EXPECT_EQ(classifier.requests()[1].target, "/buckets");
    ExpectNothingWrittenOrSent();
}

TEST_F(LinkSelfTestFlowTest, TypedAddressOfARefusingClassifierIsTestedAndNotStored)
{
    Start("http://127.0.0.1:1/");  // nothing listens on the POP3 port, nor at the typed address
    const std::string typed = "http://127.0.0.1:" + std::to_string(pop3Port);
    SelfTestSeen seen;
    HWND otherSettings = nullptr;
    const DrivenRun run =
        RunDriven([&] { return plugin().APCSetup(host().frame()); },
                  [&](DialogDriver& driver) {
                      HWND list =
                          driver.waitForDialog("Tarnwick 振り分け設定", IDC_OPEN_OTHER_SETTINGS);
                      driver.press(list, IDC_OPEN_OTHER_SETTINGS);
                      otherSettings =
                          driver.waitForDialog("Tarnwick その他設定", IDC_LINK_SELF_TEST);
                      driver.setText(otherSettings, IDC_CLASSIFIER_URL, typed);
                      driver.press(otherSettings, IDC_LINK_SELF_TEST);
                      ReadReport(driver,
                                 driver.waitForDialog("Tarnwick 接続テスト", IDC_SELF_TEST_REPORT),
                                 seen);
                      driver.closeWith(otherSettings, IDC_CANCEL_BUTTON);
                      driver.closeWith(list, IDCANCEL);
                  });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(seen.owner, otherSettings);
    ASSERT_GE(seen.lines.size(), 3u) << Utf8(seen.report);
    EXPECT_EQ(seen.lines[0],
              "× POPFileのPOP3ポート (127.0.0.1:" + std::to_string(pop3Port) +
                  ") に接続できません。" +
                  "POPFileが起動しているか、口座のPOP3サーバーとポートが正しいか確かめてください");
    EXPECT_EQ(seen.lines[1], "〇 POPFileのURL: " + typed + "/");
    EXPECT_EQ(seen.lines[2], "× POPFileの画面 (" + typed + "/) に接続できません。" +
                                 "POPFileが起動しているか、URLが正しいか確かめてください");
    EXPECT_EQ(readPluginIni("Setup", "URL"), "http://127.0.0.1:1/");
    ExpectNothingWrittenOrSent();
}

TEST_F(LinkSelfTestFlowTest, HangingClassifierIsGivenUpOnWhileTheReportKeepsAnswering)
{
    ASSERT_TRUE(classifier.listenOnPop3Port());
    classifier.setManner(StandInClassifier::Manner::NeverAnswers);
    Start(classifier.baseUrl());
    const SelfTestSeen seen = RunFromToolbar();
    classifier.releaseHeldConnections();
    std::printf(
        "[ measured ] self-test against a hung classifier: report after %lld ms, longest "
        "stall of its window %lld ms\n",
        seen.reportMs, seen.longestStallMs);

    EXPECT_TRUE(seen.waitingShown);
    ASSERT_GE(seen.lines.size(), 3u) << Utf8(seen.report);
    EXPECT_EQ(seen.lines[2], "× POPFileの画面 (" + classifier.baseUrl() +
                                 ") が5秒待っても応答しません。POPFileを起動し直してください");
    EXPECT_GE(seen.reportMs, static_cast<long long>(kRequestDeadlineMs) / 2)
        << "given up, not refused";
    EXPECT_LT(seen.reportMs, static_cast<long long>(kRequestDeadlineMs) + 6000);
    EXPECT_LT(seen.longestStallMs, 2000) << "the window answers far sooner than the deadline";
    EXPECT_EQ(classifier.requests().size(), 1u)
        << "the bucket page is not asked of a hung classifier";
}

TEST_F(LinkSelfTestFlowTest, PasswordPageIsRecognisedAndSaysWhatToDo)
{
    ASSERT_TRUE(classifier.listenOnPop3Port());
    classifier.setAsksPassword(true);
    Start(classifier.baseUrl());
    const SelfTestSeen seen = RunFromToolbar();
    ASSERT_GE(seen.lines.size(), 4u) << Utf8(seen.report);
    EXPECT_EQ(seen.lines[3],
              "× POPFileのパスワード画面が表示されました。"
              "POPFileの設定でパスワードを外すか、ブラウザでPOPFileにログインしてください");
    EXPECT_EQ(classifier.requests().size(), 1u);
    ExpectNothingWrittenOrSent();
}

}  // namespace
