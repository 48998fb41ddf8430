// Correcting several selected messages from the folder menu: the progress box works through
// them one per step, with the stand-in classifier as the peer.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dialog_driver_win.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"
#include "ui/resource_ids.h"

namespace {

constexpr const char* kTitle = "私の口座";

class ReclassifyProgressTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(classifier.running());
        account = addAccount("acct", kTitle);
        inbox = Mailbox::inbox(account);
        work = mailbox().addFolder(account, "仕事");
        writePluginIni("[Setup]\r\nCheckConnect=0\r\nURL=" + classifier.baseUrl() +
                       "\r\n[MoveMail]\r\nwork=仕事\r\n[Action]\r\nwork=2,0,0\r\n[Mark]\r\nwork=3\r\n");
        ASSERT_TRUE(startPlugin());
        host().openFolder(inbox);
    }

    // A message classified spam whose link carries view number view.
    std::string AddMail(int view)
    {
        return mailbox().addMessage(
            inbox, MailText({"From: sender@example.jp", "Subject: mail " + std::to_string(view),
                             "X-Text-Classification: spam",
                             "X-POPFile-Link: " + classifier.baseUrl() +
                                 "jump_to_message?view=" + std::to_string(view)},
                            "body\r\n"));
    }

    // Selects mails and chooses "work" in the folder menu's correction submenu. While each
    // message is moved, the progress box's counter is recorded and atMove(box, n) runs.
    void CorrectSelected(const std::vector<std::string>& mails,
                         const std::function<void(HWND box, std::size_t n)>& atMove = nullptr)
    {
        host().setSelection(mails);
        BuiltMenu menu = host().folderMenu(102);
        ASSERT_TRUE(menu.find("POPFile訂正(選択数 " + std::to_string(mails.size()) + ")"));
        counters.clear();
        host().clearCalls();
        host().setCallObserver([&](const HostCall& call) {
            if (call.service != "APAMoveMail") {
                return;
            }
            // The box of this process: tests run side by side on one display.
            HWND box = FindOwnBox("Tarnwick");
            ownedByFrame = box != nullptr && GetWindow(box, GW_OWNER) == host().frame();
            char text[100] = {};
            GetDlgItemTextA(box, IDC_PROGRESS_TEXT, text, sizeof text);
            counters.push_back(text);
            if (atMove) {
                atMove(box, counters.size());
            }
        });
        EXPECT_TRUE(host().chooseMenuItem(menu, "work"));
        host().setCallObserver(nullptr);

        EXPECT_EQ(FindOwnBox("Tarnwick"), nullptr) << "the box is gone";
    }

    bool CorrectedIntoWork(const std::string& mail)
    {
        const std::vector<HostCall> moves = host().callsTo("APAMoveMail");
        return std::any_of(moves.begin(), moves.end(), [&](const HostCall& move) {
            return move.arguments == std::vector<std::string>{mail, std::string(kTitle) + "\\仕事"};
        });
    }

    // Every step timer has either fired or been stopped; the last one started is stopped.
    void ExpectThePendingStepStopped()
    {
        const std::vector<HostCall> started = host().callsTo("APASetTimer");
        const std::vector<HostCall> stopped = host().callsTo("APAKillTimer");
        ASSERT_FALSE(started.empty());
        ASSERT_EQ(stopped.size(), 1u);
        EXPECT_EQ(stopped[0].arguments[0], started.back().result);
        EXPECT_EQ(stopped[0].result, "1") << "the timer was still pending";
        EXPECT_TRUE(host().liveTimers().empty());
    }

    StandInClassifier classifier;
    std::string account;
    std::string inbox;
    std::string work;
    std::vector<std::string> counters;
    bool ownedByFrame = false;
};

TEST_F(ReclassifyProgressTest, CountsOneMessagePerStepAndEscapeDoesNothing)
{
    const std::vector<std::string> mails = {AddMail(17), AddMail(18), AddMail(19)};
    CorrectSelected(mails, [](HWND box, std::size_t n) {
        if (n == 1) {
            PostMessageA(GetDlgItem(box, IDC_CANCEL_BUTTON), WM_KEYDOWN, VK_ESCAPE, 1);
        }
    });

    EXPECT_EQ(counters, (std::vector<std::string>{"POPFile訂正(1/3)", "POPFile訂正(2/3)",
                                                  "POPFile訂正(3/3)"}));
    EXPECT_TRUE(ownedByFrame);
    for (const std::string& mail : mails) {
        EXPECT_TRUE(CorrectedIntoWork(mail)) << mail;
    }
    const std::vector<std::string> filed = mailbox().messagesIn(work);
    ASSERT_EQ(filed.size(), 3u);
    EXPECT_NE(mailbox().readMessage(filed[2])->find("X-Text-Classification: work\r\n"),
              std::string::npos);
    EXPECT_EQ(host().markOf(filed[2]), 3);
    const auto corrections = classifier.corrections();
    ASSERT_EQ(corrections.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE(corrections[i].body.find("&reclassify_" + std::to_string(17 + i) + "=work&"),
                  std::string::npos) << corrections[i].body;
    }
    const std::vector<HostCall> steps = host().callsTo("APASetTimer");
    ASSERT_EQ(steps.size(), 3u) << "one timer per step, each fired once";
    for (const HostCall& step : steps) {
        EXPECT_EQ(step.arguments[0], "100");
    }
    EXPECT_TRUE(host().callsTo("APAKillTimer").empty());
    EXPECT_TRUE(host().liveTimers().empty());
}

TEST_F(ReclassifyProgressTest, CancelAndTheCloseBoxStopAfterTheMessageBeingCorrected)
{
    const std::vector<std::string> mails = {AddMail(17), AddMail(18), AddMail(19)};
    const std::string untouched = mailbox().readMessage(mails[2]).value_or("");
    CorrectSelected(mails, [](HWND box, std::size_t n) {
        if (n == 2) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_CANCEL_BUTTON, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDC_CANCEL_BUTTON)));
        }
    });
    EXPECT_EQ(counters, (std::vector<std::string>{"POPFile訂正(1/3)", "POPFile訂正(2/3)"}));
    EXPECT_TRUE(CorrectedIntoWork(mails[0]));
    EXPECT_TRUE(CorrectedIntoWork(mails[1]));
    EXPECT_EQ(mailbox().readMessage(mails[2]), untouched);
    EXPECT_EQ(classifier.corrections().size(), 2u);
    ExpectThePendingStepStopped();

    const std::string next = AddMail(20);
    const std::string alsoUntouched = mailbox().readMessage(next).value_or("");
    CorrectSelected({mails[2], next}, [](HWND box, std::size_t) {
        PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(counters, std::vector<std::string>{"POPFile訂正(1/2)"});
    EXPECT_TRUE(CorrectedIntoWork(mails[2]));
    EXPECT_EQ(mailbox().readMessage(next), alsoUntouched);
    EXPECT_EQ(classifier.corrections().size(), 3u);
    ExpectThePendingStepStopped();
}

}  // namespace
