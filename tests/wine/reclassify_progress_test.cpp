// Correcting several selected messages from the folder menu: the progress box works through
// them one per step, with the stand-in classifier as the peer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "dialog_driver_win.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"
#include "base/resource_ids.h"

namespace {

// The progress box of this process, owned by owner; null when there is none.
HWND ProgressBox(HWND owner)
{
    for (HWND box : DialogDriver::openDialogs()) {
        if (DialogDriver::textOf(box) == "Tarnwick" && GetWindow(box, GW_OWNER) == owner) {
            return box;
        }
    }
    return nullptr;
}

class ReclassifyProgressTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(classifier.running());
        inbox = Mailbox::inbox(addAccount("acct", "私の口座"));
        work = mailbox().addFolder("acct", "仕事");
        writePluginIni("[Setup]\r\nCheckConnect=0\r\nURL=" + classifier.baseUrl() +
                       "\r\n[MoveMail]\r\nwork=仕事\r\n[Action]\r\nwork=2,0,0\r\n");
        ASSERT_TRUE(startPlugin());
        host().openFolder(inbox);
    }

    // A message classified spam whose link carries view number view.
    std::string AddMail(int view)
    {
        return mailbox().addMessage(
            inbox, MailText({"Subject: mail", "X-Text-Classification: spam",
                             "X-POPFile-Link: " + classifier.baseUrl() +
                                 "jump_to_message?view=" + std::to_string(view)},
                            "body\r\n"));
    }

    // Selects mails and chooses "work" in the folder menu's correction submenu. While each
    // message is moved, the progress box's counter is read and atMove(box, n) runs.
    void CorrectSelected(const std::vector<std::string>& mails,
                         const std::function<void(HWND box, std::size_t n)>& atMove)
    {
        host().setSelection(mails);
        BuiltMenu menu = host().folderMenu(102);
        counters.clear();
        host().clearCalls();
        host().setCallObserver([&](const HostCall& call) {
            HWND box = ProgressBox(host().frame());
            if (call.service == "APAMoveMail" && box != nullptr) {
                char text[100] = {};
                GetDlgItemTextA(box, IDC_PROGRESS_TEXT, text, sizeof text);
                counters.push_back(text);
                atMove(box, counters.size());
            }
        });
        EXPECT_TRUE(host().chooseMenuItem(menu, "work"));
        host().setCallObserver(nullptr);
        EXPECT_EQ(ProgressBox(host().frame()), nullptr) << "the box is gone";
    }

    bool MovedToWork(const std::string& mail)
    {
        const std::vector<HostCall> moves = host().callsTo("APAMoveMail");
        return std::any_of(moves.begin(), moves.end(), [&](const HostCall& move) {
            return move.arguments == std::vector<std::string>{mail, "私の口座\\仕事"};
        });
    }

    // The step timer that was pending when the box ended is stopped; none is left.
    void ExpectThePendingStepStopped()
    {
        const std::vector<HostCall> started = host().timersStarted(100);
        const std::vector<HostCall> stopped = host().callsTo("APAKillTimer");
        ASSERT_FALSE(started.empty());
        ASSERT_EQ(stopped.size(), 1u);
        EXPECT_EQ(stopped[0].arguments[0], started.back().result);
        EXPECT_EQ(stopped[0].result, "1") << "the timer was still pending";
        EXPECT_TRUE(host().liveTimers(100).empty());
    }

    StandInClassifier classifier;
    std::string inbox;
    std::string work;
    std::vector<std::string> counters;
};

// Neither Escape nor a stray WM_USER (the dialog manager's DM_GETDEFID has that number, and
// any program can post it) takes a step out of turn.
TEST_F(ReclassifyProgressTest, CountsOneMessagePerStepAndEscapeDoesNothing)
{
    const std::vector<std::string> mails = {AddMail(17), AddMail(18), AddMail(19)};
    CorrectSelected(mails, [](HWND box, std::size_t n) {
        if (n == 1) {
            PostMessageA(GetDlgItem(box, IDC_CANCEL_BUTTON), WM_KEYDOWN, VK_ESCAPE, 1);
            SendMessageA(box, DM_GETDEFID, 0, 0);
            PostMessageA(box, WM_USER, 0, 3);
        }
    });
    EXPECT_EQ(counters, (std::vector<std::string>{"POPFile訂正(1/3)", "POPFile訂正(2/3)",
                                                  "POPFile訂正(3/3)"}));
    for (const std::string& mail : mails) {
        EXPECT_TRUE(MovedToWork(mail)) << mail;
    }
    ASSERT_EQ(mailbox().messagesIn(work).size(), 3u);
    const auto corrections = classifier.corrections();
    ASSERT_EQ(corrections.size(), 3u);
    EXPECT_NE(corrections[2].body.find("&reclassify_19=work&"), std::string::npos);
    const std::vector<HostCall> steps = host().timersStarted(100);
    ASSERT_EQ(steps.size(), 3u) << "one 100 ms timer per step, each fired once";
    EXPECT_EQ(steps[0].arguments[0], "100");
    EXPECT_TRUE(host().liveTimers(100).empty());
}

TEST_F(ReclassifyProgressTest, CancelAndTheCloseBoxStopAfterTheMessageBeingCorrected)
{
    const std::vector<std::string> mails = {AddMail(17), AddMail(18), AddMail(19)};
    const std::optional<std::string> untouched = mailbox().readMessage(mails[2]);
    CorrectSelected(mails, [](HWND box, std::size_t n) {
        if (n == 2) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_CANCEL_BUTTON, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDC_CANCEL_BUTTON)));
        }
    });
    EXPECT_EQ(counters, (std::vector<std::string>{"POPFile訂正(1/3)", "POPFile訂正(2/3)"}));
    EXPECT_TRUE(MovedToWork(mails[0]) && MovedToWork(mails[1]));
    EXPECT_EQ(mailbox().readMessage(mails[2]), untouched);
    EXPECT_EQ(classifier.corrections().size(), 2u);
    ExpectThePendingStepStopped();

    const std::string next = AddMail(20);
    const std::optional<std::string> alsoUntouched = mailbox().readMessage(next);
    CorrectSelected({mails[2], next}, [](HWND box, std::size_t) {
        PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(counters, std::vector<std::string>{"POPFile訂正(1/2)"});
    EXPECT_TRUE(MovedToWork(mails[2]));
    EXPECT_EQ(mailbox().readMessage(next), alsoUntouched);
    ExpectThePendingStepStopped();
}

// The CPU time the calling thread has used so far, in seconds.
double ThreadCpuSeconds()
{
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

// A hundred selected messages: the session key is fetched once for the run (POPFile's
// answer to a correction carries it on) and each step posts its own notice at once. Prints
// the plug-in's own work per message, the window's thread's CPU time less the host's file
// services, beside the 100 ms pacing: a benchmark line, not a timed check.
TEST_F(ReclassifyProgressTest, HundredMessagesTakeOneKeyFetchAndOnePostEach)
{
    classifier.setPage("/history", classifier.generatedStartPage());
    std::vector<std::string> mails;
    for (int view = 1; view <= 100; ++view) {
        mails.push_back(AddMail(view));
    }
    classifier.forgetRequests();
    const double cpuBefore = ThreadCpuSeconds();
    const double servicesBefore = host().fileServiceSeconds();
    CorrectSelected(mails, [](HWND, std::size_t) {});
    const double cpu = ThreadCpuSeconds() - cpuBefore;
    const double services = host().fileServiceSeconds() - servicesBefore;

    ASSERT_EQ(counters.size(), 100u);
    EXPECT_EQ(counters.back(), "POPFile訂正(100/100)");
    EXPECT_EQ(mailbox().messagesIn(work).size(), 100u);
    EXPECT_EQ(classifier.requestsTo("/").size(), 1u) << "one key fetch for the run";
    const auto corrections = classifier.corrections();
    ASSERT_EQ(corrections.size(), 100u) << "one post per message";
    for (int view = 1; view <= 100; ++view) {
        const std::string notice = "&reclassify_" + std::to_string(view) + "=work&";
        EXPECT_NE(corrections[view - 1].body.find(notice), std::string::npos) << notice;
    }
    std::printf("correcting 100 messages: the window's thread used %.3f s of CPU, the host's"
                " services %.3f s; the plug-in's own work %.2f ms per message beside the 100 ms"
                " pacing\n",
                cpu, services, 1000.0 * (cpu - services) / 100.0);
}

}  // namespace
