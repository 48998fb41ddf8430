// The start-up wait as the client meets it: APCFolderCreate with CheckConnect on while the
// account's POP3 port (the stand-in classifier's) still refuses connections.
#include <gtest/gtest.h>

#include <functional>

#include "dialog_driver_win.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"
#include "ui/resource_ids.h"

namespace {

class ClassifierWaitTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        const int port = classifier.reservePop3Port();
        ASSERT_NE(port, 0);
        const std::string account = mailbox().addAccount(
            "acct", AccountSettings{"POPFile経由", "1", "127.0.0.1", std::to_string(port)});
        writePluginIni("[Setup]\r\nCheckConnect=1\r\n");
        // Started up, with the account shown before the folder window is created.
        ASSERT_TRUE(loadPlugin());
        host().startUp();
        host().openFolder(Mailbox::inbox(account));
        host().clearCalls();
    }

    // Creates the folder window; when a wait box shows, checks it, presses Escape, then lets
    // end(box) end it. Returns whether a box showed; `closed` tells whether it went.
    bool CreateFolderWindowWith(const std::function<void(const DialogDriver&)>& end,
                                DWORD findMs = 15000)
    {
        bool shown = false;
        RunWhileDriving([&] { host().createFolderWindow(); return 0; }, [&] {
            std::optional<DialogDriver> box = DialogDriver::find("Tarnwick", IDC_CANCEL_BUTTON, nullptr, findMs);
            if (box) {
                shown = true;
                texts = box->staticTexts();
                owned = box->owner() != nullptr;
                box->pressKey(VK_ESCAPE, IDC_CANCEL_BUTTON);
                box->settle();
                openAfterEscape = box->open();
                end(*box);
                closed = box->waitClosed();
            }
            return box;
        });
        return shown;
    }

    // The probe ran every 100 ms (parameter 0) from one timer, stopped once the box was gone.
    void ExpectTheTimerStartedAndStopped()
    {
        const std::vector<HostCall> started = host().callsTo("APASetTimer");
        const std::vector<HostCall> stopped = host().callsTo("APAKillTimer");
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].arguments[0], "100");
        EXPECT_EQ(started[0].arguments[2], "0");
        ASSERT_EQ(stopped.size(), 1u);
        EXPECT_EQ(stopped[0].arguments[0], started[0].result);
        EXPECT_TRUE(host().liveTimers().empty());
    }

    StandInClassifier classifier;
    std::vector<std::string> texts;
    bool owned = true;
    bool openAfterEscape = false;
    bool closed = false;
};

TEST_F(ClassifierWaitTest, BoxWaitsUntilTheClassifiersPortListens)
{
    ASSERT_TRUE(CreateFolderWindowWith([this](const DialogDriver&) { classifier.listenOnPop3Port(); }));
    EXPECT_EQ(texts, std::vector<std::string>{"POPFile起動待機中。。。"});
    EXPECT_FALSE(owned) << "the box has no owner window";
    EXPECT_TRUE(openAfterEscape) << "Escape does nothing";
    EXPECT_TRUE(closed) << "the box closes once the port accepts connections";
    ExpectTheTimerStartedAndStopped();
}

TEST_F(ClassifierWaitTest, CancelEndsTheWaitAndLaterWindowsAreNotTested)
{
    ASSERT_TRUE(CreateFolderWindowWith([](const DialogDriver& box) { box.click(IDC_CANCEL_BUTTON); }));
    EXPECT_TRUE(closed);
    ExpectTheTimerStartedAndStopped();

    // The port still refuses, yet no box may show again (one that did is cancelled here
    // rather than leave the test waiting).
    host().clearCalls();
    EXPECT_FALSE(CreateFolderWindowWith([](const DialogDriver& box) { box.click(IDC_CANCEL_BUTTON); }, 5000));
    EXPECT_TRUE(host().callsTo("APASetTimer").empty());
}

}  // namespace
