// The start-up wait as the client meets it: APCFolderCreate with CheckConnect on while the
// account's POP3 port (the stand-in classifier's) still refuses connections, the account's
// server given as an address or by the name "localhost".
#include <gtest/gtest.h>

#include "driven_run_win.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"
#include "base/resource_ids.h"

namespace {

class ClassifierWaitTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        const int port = classifier.reservePop3Port();
        ASSERT_NE(port, 0);
        const std::string account = mailbox().addAccount(
            "acct", AccountSettings{"POPFile経由", "1", pop3Server(), std::to_string(port)});
        writePluginIni("[Setup]\r\nCheckConnect=1\r\n");
        // Started up, with the account shown before the folder window is created.
        ASSERT_TRUE(loadPlugin());
        host().startUp();
        host().openFolder(Mailbox::inbox(account));
        host().clearCalls();
    }

    // The account's "POP3Server"; the stand-in's port listens on 127.0.0.1.
    virtual std::string pop3Server() const { return "127.0.0.1"; }

    // Creates the folder window while the wait box that must show is checked, given Escape,
    // and then ended by end; the box must be gone afterwards.
    DrivenRun CreateFolderWindowWith(const std::function<void(DialogDriver&, HWND)>& end,
                                     DWORD stepTimeoutMs = 10000)
    {
        return RunDriven([&] { host().createFolderWindow(); return 0; }, [&](DialogDriver& driver) {
            HWND box = driver.waitForDialog("Tarnwick", IDC_CANCEL_BUTTON);
            texts = StaticTexts(box);
            owned = GetWindow(box, GW_OWNER) != nullptr;
            driver.pressKey(box, VK_ESCAPE);
            driver.settle(box);
            openAfterEscape = IsWindowVisible(box) != FALSE;
            end(driver, box);
            driver.waitUntilClosed(box);
        }, stepTimeoutMs);
    }

    // The probe ran every 100 ms (parameter 0) from one timer, stopped once the box was gone.
    void ExpectTheTimerStartedAndStopped()
    {
        const std::vector<HostCall> started = host().timersStarted(100);
        const std::vector<HostCall> stopped = host().callsTo("APAKillTimer");
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].arguments[0], "100");
        EXPECT_EQ(started[0].arguments[2], "0");
        ASSERT_EQ(stopped.size(), 1u);
        EXPECT_EQ(stopped[0].arguments[0], started[0].result);
        EXPECT_TRUE(host().liveTimers(100).empty());
    }

    StandInClassifier classifier;
    std::vector<std::string> texts;
    bool owned = true;
    bool openAfterEscape = false;
};

TEST_F(ClassifierWaitTest, BoxWaitsUntilTheClassifiersPortListens)
{
    const DrivenRun run = CreateFolderWindowWith([this](DialogDriver&, HWND) {
        classifier.listenOnPop3Port();
    });
    EXPECT_EQ(run.failure, "") << "the box closes once the port accepts connections";
    EXPECT_EQ(texts, std::vector<std::string>{"POPFile起動待機中。。。"});
    EXPECT_FALSE(owned) << "the box has no owner window";
    EXPECT_TRUE(openAfterEscape) << "Escape does nothing";
    ExpectTheTimerStartedAndStopped();
}

TEST_F(ClassifierWaitTest, CancelEndsTheWaitAndLaterWindowsAreNotTested)
{
    const auto cancel = [](DialogDriver& driver, HWND box) { driver.press(box, IDC_CANCEL_BUTTON); };
    EXPECT_EQ(CreateFolderWindowWith(cancel).failure, "");
    ExpectTheTimerStartedAndStopped();

    // The port still refuses, yet no box may show again (one that did is cancelled here
    // rather than leave the test waiting).
    host().clearCalls();
    EXPECT_NE(CreateFolderWindowWith(cancel, 5000).failure, "") << "no wait box showed";
    EXPECT_TRUE(host().timersStarted(100).empty());
}

// The server by name, as most accounts give it: the probe has to resolve "localhost" (a
// machine whose resolver does not know it would skip the wait, since an unknown server counts
// as reachable).
class ClassifierWaitByNameTest : public ClassifierWaitTest {
protected:
    std::string pop3Server() const override { return "localhost"; }
};

TEST_F(ClassifierWaitByNameTest, BoxWaitsUntilThePortOfLocalhostListens)
{
    const DrivenRun run = CreateFolderWindowWith([this](DialogDriver&, HWND) {
        classifier.listenOnPop3Port();
    });
    EXPECT_EQ(run.failure, "") << "the box shows while localhost's port refuses connections and "
                                  "closes once it accepts them";
    EXPECT_EQ(texts, std::vector<std::string>{"POPFile起動待機中。。。"});
    ExpectTheTimerStartedAndStopped();
}

}  // namespace
