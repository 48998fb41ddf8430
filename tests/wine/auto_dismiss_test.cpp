// With AutoReceive on, the folder window's hook answers the host's own boxes that the window
// owns while the host receives (command 32835 grayed): OK in "エラー", "キャンセル" in the
// password prompt. The boxes are the host's modal ones; the hook's 500 ms host timer keeps
// running inside their modal loops, on real timers.
#include "host_fixture.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

// How many runs of the host's timers a box may stay open: long enough for the hook to have
// answered it (it looks at every run), and enough runs to tell that it leaves a box alone.
constexpr unsigned kRunsToAnswer = 20;
constexpr unsigned kRunsLeftOpen = 3;

class AutoDismissTest : public HostFixture {
protected:
    void start(bool autoReceive)
    {
        writePluginIni(std::string("[Setup]\r\nCheckConnect=0\r\nAutoReceive=") + (autoReceive ? "1" : "0") +
                       "\r\n");
        ASSERT_TRUE(startPlugin());
        host().openFolder(Mailbox::inbox(addAccount("acct", "Home")));
    }

    // Shows a host box titled title and returns whether it went away by itself before the
    // host's timers had run `runs` times more; if not, a second thread presses its OK then.
    // result: what the box returned.
    bool closedWithin(unsigned runs, const char* title, const std::function<int()>& show, int& result)
    {
        std::atomic<bool> returned{false};
        std::atomic<bool> pressed{false};
        std::thread watch([&] {
            const ULONGLONG deadline = GetTickCount64() + 15000;
            HWND box = nullptr;
            while (box == nullptr && !returned && GetTickCount64() < deadline) {
                box = FindWindowOfThisProcess("#32770", title);
                Sleep(10);
            }
            // The box exists before it shows, and hides before its call returns.
            const unsigned start = host().timerRuns();
            while (box != nullptr && !returned && IsWindow(box)) {
                if (IsWindowVisible(box) && (host().timerRuns() >= start + runs || GetTickCount64() >= deadline)) {
                    pressed = true;
                    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                    return;
                }
                Sleep(10);
            }
        });
        result = show();
        returned = true;
        watch.join();
        return !pressed;
    }

    std::function<int()> errorBox = [this] { return host().showErrorBox("サーバーに接続できません"); };
    std::function<int()> passwordPrompt = [this] { return host().showPasswordPrompt(); };
};

TEST_F(AutoDismissTest, WhileTheHostReceivesItsErrorBoxIsConfirmedAndItsPasswordPromptCancelled)
{
    start(true);
    host().setCommandGrayed(ReplacementHost::kReceiveCommand, true);
    int result = 0;
    EXPECT_TRUE(closedWithin(kRunsToAnswer, "エラー", errorBox, result));
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(closedWithin(kRunsToAnswer, "パスワード", passwordPrompt, result));
    EXPECT_EQ(result, IDCANCEL);
    // A host without the command counts as receiving.
    host().removeMenuCommand(ReplacementHost::kReceiveCommand);
    EXPECT_TRUE(closedWithin(kRunsToAnswer, "エラー", errorBox, result));
}

TEST_F(AutoDismissTest, WhileTheHostIsIdleItsBoxesStayOpen)
{
    start(true);
    host().setCommandGrayed(ReplacementHost::kReceiveCommand, false);
    int result = 0;
    EXPECT_FALSE(closedWithin(kRunsLeftOpen, "エラー", errorBox, result));
    EXPECT_FALSE(closedWithin(kRunsLeftOpen, "パスワード", passwordPrompt, result));
}

TEST_F(AutoDismissTest, WithAutoReceiveOffNothingIsPressed)
{
    start(false);
    host().setCommandGrayed(ReplacementHost::kReceiveCommand, true);
    int result = 0;
    EXPECT_FALSE(closedWithin(kRunsLeftOpen, "エラー", errorBox, result));
    EXPECT_FALSE(closedWithin(kRunsLeftOpen, "パスワード", passwordPrompt, result));
}

}  // namespace
