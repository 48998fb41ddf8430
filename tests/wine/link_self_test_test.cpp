// The link self-test as the user reaches it: the toolbar popup's "POPFileとの接続を確認" and
// the other settings' "接続テスト", against the stand-in classifier answering, refusing,
// hanging and asking for a password. The report's window keeps answering while the checks
// run, and nothing is learnt, written or sent.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <sstream>

#include "base/resource_ids.h"
#include "classifier/http_client.h"
#include "driven_run_win.h"
#include "host_fixture.h"
#include "message_loop_watch_win.h"
#include "stand_in_classifier_win.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kCaption = "Tarnwick 接続テスト";
constexpr const char* kWaiting = "確認中…";

// The report's lines, marks included.
std::vector<std::string> Lines(const std::string& report)
{
    std::vector<std::string> lines;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::string FormatLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

bool Holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// What one run of the dialog showed.
struct SelfTestSeen {
    HWND owner = nullptr;
    bool waitingShown = false;       // "確認中…" was seen before the report
    std::vector<std::string> lines;  // the report
    long long reportMs = -1;         // from the dialog showing to the report
    long long longestStallMs = -1;   // of the dialog, while it waited
    bool closed = false;
};

class LinkSelfTestFlowTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(classifier.running());
        pop3Port = classifier.reservePop3Port();
        ASSERT_NE(pop3Port, 0);
        account = mailbox().addAccount("acct", AccountSettings{"POPFile経由", "1", "127.0.0.1",
                                                               std::to_string(pop3Port)});
        mailbox().addFolder(account, "仕事");
    }

    void Start(const std::string& url)
    {
        // "Work" differs from the stand-in's "work" in letter case; "archive" is no bucket of
        // it and its folder 保管 is missing.
        writePluginIni("[Setup]\r\nCheckConnect=0\r\nURL=" + url +
                       "\r\n[MoveMail]\r\nspam=ごみ箱\r\nWork=仕事\r\narchive=保管\r\n");
        ASSERT_TRUE(startPlugin());
        host().openFolder(Mailbox::inbox(account));
        iniBefore = pluginIniBytes();
    }

    // Reads the report once it replaced the waiting text, watching the dialog's loop meanwhile;
    // then Escape must close it.
    static void ReadReport(DialogDriver& driver, HWND dialog, SelfTestSeen& seen)
    {
        const auto shown = Clock::now();
        seen.owner = GetWindow(dialog, GW_OWNER);
        {
            MessageLoopWatch watch(dialog);
            std::string text = driver.text(dialog, IDC_SELF_TEST_REPORT);
            const auto deadline = shown + std::chrono::milliseconds(4 * kRequestDeadlineMs + 10000);
            while (text == kWaiting && Clock::now() < deadline) {
                seen.waitingShown = true;
                Sleep(50);
                text = driver.text(dialog, IDC_SELF_TEST_REPORT);
            }
            seen.reportMs =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shown).count();
            seen.longestStallMs = watch.longestStallMs();
            seen.lines = Lines(text);
        }
        driver.pressKey(dialog, VK_ESCAPE);
        driver.waitUntilClosed(dialog);
        seen.closed = true;
    }

    // The toolbar button, its popup's third item, and the report.
    SelfTestSeen RunFromToolbar()
    {
        SelfTestSeen seen;
        const std::vector<int> buttons = host().toolbarCommands();
        EXPECT_EQ(buttons.size(), 4u);
        if (buttons.size() != 4u) {
            return seen;
        }
        const SharedPointerLock pointer;
        const DrivenRun run = RunDriven(
            [&] {
                const bool pressed = host().pressToolbarButton(buttons[3]);
                host().pumpMessages();
                return pressed ? 1 : 0;
            },
            [&](DialogDriver& driver) {
                HWND menu = WaitForShownPopupMenu(10000);
                if (menu == nullptr) {
                    throw DialogDriver::StepFailed("the popup menu did not show");
                }
                ChooseShownPopupMenuItem(menu, 2);
                ReadReport(driver, driver.waitForDialog(kCaption, IDC_SELF_TEST_REPORT), seen);
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
    std::string account;
    std::optional<std::string> iniBefore;
};

TEST_F(LinkSelfTestFlowTest, AnsweringClassifierFromTheToolbarNamesTheRulesThatCannotWork)
{
    ASSERT_TRUE(classifier.listenOnPop3Port());
    Start(classifier.baseUrl());
    const SelfTestSeen seen = RunFromToolbar();

    EXPECT_EQ(seen.owner, host().frame());
    EXPECT_TRUE(seen.closed) << "Escape closes the report";
    const std::vector<std::string>& lines = seen.lines;
    std::string marks;
    for (const std::string& line : lines) {
        marks += line.rfind("〇 ", 0) == 0 ? "o" : line.rfind("× ", 0) == 0 ? "x" : "?";
    }
    ASSERT_EQ(marks, "oooooxxxo") << Utf8(FormatLines(lines));
    EXPECT_EQ(lines[0],
              "〇 POPFileのPOP3ポート (127.0.0.1:" + std::to_string(pop3Port) + ") に接続できます");
    EXPECT_EQ(lines[4], "〇 POPFileのバケツ (3 個): spam, work, personal");
    EXPECT_TRUE(
        Holds(lines[5],
              "「Work」がPOPFileにありません。POPFileの「work」とは大文字小文字だけが違います"))
        << Utf8(lines[5]);
    EXPECT_TRUE(Holds(lines[6], "「archive」がPOPFileにありません")) << Utf8(lines[6]);
    EXPECT_TRUE(Holds(lines[7], "フォルダ「保管」がこの口座にありません")) << Utf8(lines[7]);
    ASSERT_EQ(classifier.requests().size(), 2u);
    EXPECT_EQ(classifier.requests()[0].target, "/");
    EXPECT_EQ(classifier.requests()[1].target, "/buckets");
    ExpectNothingWrittenOrSent();
}

TEST_F(LinkSelfTestFlowTest, TypedAddressOfARefusingClassifierIsTestedAndNotStored)
{
    // Nothing listens on the POP3 port, and the typed address points there too.
    Start("http://127.0.0.1:1/");
    const std::string typed = "http://127.0.0.1:" + std::to_string(pop3Port);
    SelfTestSeen seen;
    HWND otherSettings = nullptr;
    const DrivenRun run = RunDriven(
        [&] { return plugin().APCSetup(host().frame()); },
        [&](DialogDriver& driver) {
            HWND list = driver.waitForDialog("Tarnwick 振り分け設定", IDC_OPEN_OTHER_SETTINGS);
            driver.press(list, IDC_OPEN_OTHER_SETTINGS);
            otherSettings = driver.waitForDialog("Tarnwick その他設定", IDC_LINK_SELF_TEST);
            driver.setText(otherSettings, IDC_CLASSIFIER_URL, typed);
            driver.press(otherSettings, IDC_LINK_SELF_TEST);
            ReadReport(driver, driver.waitForDialog(kCaption, IDC_SELF_TEST_REPORT), seen);
            driver.closeWith(otherSettings, IDC_CANCEL_BUTTON);
            driver.closeWith(list, IDCANCEL);
        });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(seen.owner, otherSettings);
    const std::vector<std::string>& lines = seen.lines;
    ASSERT_GE(lines.size(), 3u) << Utf8(FormatLines(lines));
    const std::string port = "(127.0.0.1:" + std::to_string(pop3Port) + ")";
    EXPECT_EQ(lines[0],
              "× POPFileのPOP3ポート " + port + " に接続できません。" +
                  "POPFileが起動しているか、口座のPOP3サーバーとポートが正しいか確かめてください");
    EXPECT_EQ(lines[1], "〇 POPFileのURL: " + typed + "/");
    EXPECT_EQ(lines[2],
              "× POPFileの画面 (" + typed +
                  "/) に接続できません。POPFileが起動しているか、URLが正しいか確かめてください");
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

    EXPECT_TRUE(seen.waitingShown) << "確認中… shows while the start page is awaited";
    ASSERT_GE(seen.lines.size(), 3u) << Utf8(FormatLines(seen.lines));
    EXPECT_EQ(seen.lines[2], "× POPFileの画面 (" + classifier.baseUrl() +
                                 ") が5秒待っても応答しません。POPFileを起動し直してください");
    EXPECT_GE(seen.reportMs, static_cast<long long>(kRequestDeadlineMs) - 500);
    EXPECT_LT(seen.reportMs, static_cast<long long>(kRequestDeadlineMs) + 6000);
    // The window answers all along, far sooner than the one request's deadline.
    EXPECT_LT(seen.longestStallMs, 2000);
    EXPECT_EQ(classifier.requests().size(), 1u)
        << "the bucket page is not asked of a hung classifier";
}

TEST_F(LinkSelfTestFlowTest, PasswordPageIsRecognisedAndSaysWhatToDo)
{
    ASSERT_TRUE(classifier.listenOnPop3Port());
    classifier.setAsksPassword(true);
    Start(classifier.baseUrl());
    const SelfTestSeen seen = RunFromToolbar();
    ASSERT_GE(seen.lines.size(), 4u) << Utf8(FormatLines(seen.lines));
    EXPECT_EQ(seen.lines[2], "〇 POPFileの画面 (" + classifier.baseUrl() + ") が応答しました");
    EXPECT_EQ(seen.lines[3],
              "× POPFileのパスワード画面が表示されました。"
              "POPFileの設定でパスワードを外すか、ブラウザでPOPFileにログインしてください");
    EXPECT_EQ(classifier.requests().size(), 1u);
    ExpectNothingWrittenOrSent();
}

}  // namespace
