// With AutoReceive on, the folder window's hook answers the host's own boxes that the window
// owns while the host receives (command 32835 grayed): OK in "エラー", "キャンセル" in the
// password prompt. The boxes are the host's modal ones; the hook's 500 ms host timer keeps
// running inside their modal loops, on real timers.
#include "host_fixture.h"

#include <windows.h>

#include <atomic>
#include <thread>

namespace {

// Watches, from a second thread, for the box titled title of this process while the host
// shows it. Once the host's timers have run `ticks` more times while the box is open, the
// watch presses buttonId itself so that the host's call returns.
class OpenBoxWatch {
public:
    OpenBoxWatch(const ReplacementHost& host, std::string title, int buttonId, unsigned ticks)
        : thread_([this, &host, title = std::move(title), buttonId, ticks] {
              watch(host, title, buttonId, ticks);
          })
    {
    }
    ~OpenBoxWatch() { finish(); }
    OpenBoxWatch(const OpenBoxWatch&) = delete;
    OpenBoxWatch& operator=(const OpenBoxWatch&) = delete;

    // Call once the host's call returned: whether the watch had to press the button.
    bool pressedByWatch()
    {
        finish();
        return pressed_;
    }

private:
    void finish()
    {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    void watch(const ReplacementHost& host, const std::string& title, int buttonId, unsigned ticks)
    {
        const ULONGLONG deadline = GetTickCount64() + 15000;
        HWND box = nullptr;
        while (box == nullptr && !stop_ && GetTickCount64() < deadline) {
            box = FindWindowOfThisProcess("#32770", title.c_str());
            Sleep(10);
        }
        const unsigned start = host.timerRuns();
        while (box != nullptr && !stop_ && IsWindow(box) && IsWindowVisible(box)) {
            if (host.timerRuns() >= start + ticks || GetTickCount64() >= deadline) {
                pressed_ = true;
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
                return;
            }
            Sleep(10);
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> pressed_{false};
    std::thread thread_;
};

// Ticks long enough for the hook to have answered (it looks every tick), and the number the
// watch waits before deciding that the hook leaves a box open.
constexpr unsigned kTicksToAnswer = 20;
constexpr unsigned kTicksLeftOpen = 3;

class AutoDismissTest : public HostFixture {
protected:
    void start(bool autoReceive)
    {
        writePluginIni(std::string("[Setup]\r\nCheckConnect=0\r\nAutoReceive=") + (autoReceive ? "1" : "0") +
                       "\r\n");
        ASSERT_TRUE(startPlugin());
        host().openFolder(Mailbox::inbox(addAccount("acct", "Home")));
    }
};

TEST_F(AutoDismissTest, WhileTheHostReceivesItsErrorBoxIsConfirmedAndItsPasswordPromptCancelled)
{
    start(true);
    host().setCommandGrayed(ReplacementHost::kReceiveCommand, true);
    {
        OpenBoxWatch watch(host(), "エラー", IDOK, kTicksToAnswer);
        EXPECT_EQ(host().showErrorBox("サーバーに接続できません"), IDOK);
        EXPECT_FALSE(watch.pressedByWatch());
    }
    {
        OpenBoxWatch watch(host(), "パスワード", IDOK, kTicksToAnswer);
        EXPECT_EQ(host().showPasswordPrompt(), IDCANCEL);
        EXPECT_FALSE(watch.pressedByWatch());
    }
    // A host without the command counts as receiving.
    host().removeMenuCommand(ReplacementHost::kReceiveCommand);
    {
        OpenBoxWatch watch(host(), "エラー", IDOK, kTicksToAnswer);
        EXPECT_EQ(host().showErrorBox("もう一度"), IDOK);
        EXPECT_FALSE(watch.pressedByWatch());
    }
}

TEST_F(AutoDismissTest, WhileTheHostIsIdleItsBoxesStayOpen)
{
    start(true);
    host().setCommandGrayed(ReplacementHost::kReceiveCommand, false);
    {
        OpenBoxWatch watch(host(), "エラー", IDOK, kTicksLeftOpen);
        host().showErrorBox("サーバーに接続できません");
        EXPECT_TRUE(watch.pressedByWatch());
    }
    {
        OpenBoxWatch watch(host(), "パスワード", IDOK, kTicksLeftOpen);
        EXPECT_EQ(host().showPasswordPrompt(), IDOK);
        EXPECT_TRUE(watch.pressedByWatch());
    }
}

TEST_F(AutoDismissTest, WithAutoReceiveOffNothingIsPressed)
{
    start(false);
    host().setCommandGrayed(ReplacementHost::kReceiveCommand, true);
    {
        OpenBoxWatch watch(host(), "エラー", IDOK, kTicksLeftOpen);
        host().showErrorBox("サーバーに接続できません");
        EXPECT_TRUE(watch.pressedByWatch());
    }
    {
        OpenBoxWatch watch(host(), "パスワード", IDOK, kTicksLeftOpen);
        EXPECT_EQ(host().showPasswordPrompt(), IDOK);
        EXPECT_TRUE(watch.pressedByWatch());
    }
}

}  // namespace
