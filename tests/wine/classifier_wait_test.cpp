// The start-up wait as the client meets it: APCFolderCreate with CheckConnect on while the
// account's POP3 port (the stand-in classifier's) still refuses connections.
#include <gtest/gtest.h>

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
        ASSERT_TRUE(classifier.running());
        const int port = classifier.reservePop3Port();
        ASSERT_NE(port, 0);
        account = mailbox().addAccount("acct", AccountSettings{"POPFile経由", "1", "127.0.0.1",
                                                               std::to_string(port)});
        writePluginIni("[Setup]\r\nCheckConnect=1\r\n");
        // Started up, with the account's inbox open before the folder window is created.
        ASSERT_TRUE(loadPlugin());
        host().startUp();
        host().openFolder(Mailbox::inbox(account));
        host().clearCalls();
    }

    // What the script saw of the wait box.
    struct SeenBox {
        bool found = false;
        std::vector<std::string> texts;
        std::string button;
        bool owned = true;
        bool icon = false;
        bool openAfterEscape = false;
        bool closed = false;
    };

    // Creates the folder window while action ends the box that shows up.
    SeenBox CreateFolderWindowAnd(const std::function<void(const DialogDriver&)>& action)
    {
        SeenBox seen;
        RunWhileDriving([&] { host().createFolderWindow(); return 0; }, [&] {
            std::optional<DialogDriver> box = DialogDriver::find("Tarnwick", IDC_CANCEL_BUTTON);
            if (box) {
                seen.found = true;
                seen.texts = box->staticTexts();
                seen.button = box->text(IDC_CANCEL_BUTTON);
                seen.owned = box->owner() != nullptr;
                seen.icon = box->showsIcon();
                box->pressKey(VK_ESCAPE, IDC_CANCEL_BUTTON);
                box->settle();
                seen.openAfterEscape = box->open();
                action(*box);
                seen.closed = box->waitClosed();
            }
            return box;
        });
        return seen;
    }

    // The probing timer was started once, every 100 ms with parameter 0, and the same timer
    // was stopped; none is left running.
    void ExpectTheTimerStartedAndStopped()
    {
        const std::vector<HostCall> started = host().callsTo("APASetTimer");
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].arguments[0], "100");
        EXPECT_EQ(started[0].arguments[2], "0");
        const std::vector<HostCall> stopped = host().callsTo("APAKillTimer");
        ASSERT_EQ(stopped.size(), 1u);
        EXPECT_EQ(stopped[0].arguments[0], started[0].result);
        EXPECT_TRUE(host().liveTimers().empty());
    }

    StandInClassifier classifier;
    std::string account;
};

TEST_F(ClassifierWaitTest, BoxWaitsUntilTheClassifiersPortListens)
{
    const SeenBox seen = CreateFolderWindowAnd([this](const DialogDriver&) {
        classifier.listenOnPop3Port();
    });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.texts, std::vector<std::string>{"POPFile起動待機中。。。"});
    EXPECT_EQ(seen.button, "ｷｬﾝｾﾙ");
    EXPECT_FALSE(seen.owned) << "the box has no owner window";
    EXPECT_TRUE(seen.icon);
    EXPECT_TRUE(seen.openAfterEscape) << "Escape does nothing";
    EXPECT_TRUE(seen.closed) << "the box closes once the port accepts connections";
    ExpectTheTimerStartedAndStopped();
}

TEST_F(ClassifierWaitTest, CancelEndsTheWaitAtOnceAndLaterWindowsAreNotTested)
{
    const SeenBox seen = CreateFolderWindowAnd([](const DialogDriver& box) {
        box.click(IDC_CANCEL_BUTTON);
    });
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.closed);
    ExpectTheTimerStartedAndStopped();

    // The port still refuses, yet no box may show again; one that did would be cancelled
    // here rather than leave the test waiting.
    host().clearCalls();
    bool shownAgain = false;
    RunWhileDriving([&] { host().createFolderWindow(); return 0; }, [&] {
        std::optional<DialogDriver> box = DialogDriver::find("Tarnwick", IDC_CANCEL_BUTTON, nullptr, 5000);
        shownAgain = box.has_value();
        if (box) {
            box->click(IDC_CANCEL_BUTTON);
        }
        return box;
    });
    EXPECT_FALSE(shownAgain);
    EXPECT_TRUE(host().callsTo("APASetTimer").empty());
}

}  // namespace
