#include "ui/reclassify_progress_box_win.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "mailbox/mailbox.h"
#include "ui/modal_dialog_win.h"
#include "ui/reclassify_progress.h"
#include "base/resource_ids.h"

namespace {

constexpr unsigned kStepDelay = 100;  // milliseconds
// The box's step message: wParam 0, lParam the number of the message to correct (from 1).
// The dialog manager sends the same number as DM_GETDEFID (lParam 0), so only the step
// the box is waiting for counts as one.
constexpr UINT kStepMessage = WM_USER;

class ReclassifyProgressBox;

// The boxes that exist: a timer callback acts only for one of them.
std::vector<ReclassifyProgressBox*> liveBoxes;

class ReclassifyProgressBox : public CancelButtonBox {
public:
    ReclassifyProgressBox(const HostApi& host, HostWindow source,
                          const std::function<void(const std::string&)>& correctOne)
        : host_(host), source_(source), correctOne_(correctOne)
    {
        liveBoxes.push_back(this);
    }

    ~ReclassifyProgressBox() override
    {
        disarm();
        liveBoxes.erase(std::remove(liveBoxes.begin(), liveBoxes.end(), this), liveBoxes.end());
    }

    // The step timer's callback; parameter is the box that started it. Returns 0: every
    // step timer fires once.
    static int TW_STDCALL StepTimer(HostWindow, intptr_t parameter)
    {
        auto* box = reinterpret_cast<ReclassifyProgressBox*>(parameter);
        if (std::find(liveBoxes.begin(), liveBoxes.end(), box) != liveBoxes.end()) {
            box->postArmedStep();
        }
        return 0;
    }

protected:
    BOOL onInit() override
    {
        try {
            paths_ = CollectSelectedMailPaths(host_, source_);
        } catch (const std::bad_alloc&) {
            // No room for the list: the box stays open, idle, until it is cancelled or closed.
            paths_.clear();
            return TRUE;
        }
        if (paths_.empty()) {
            end(0);
            return TRUE;
        }
        showCounter(1);
        arm(1);
        return TRUE;
    }

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override
    {
        if (message != kStepMessage || wParam != 0 || awaitedStep_ == 0 ||
            lParam != awaitedStep_) {
            return false;
        }
        awaitedStep_ = 0;
        correct(static_cast<int>(lParam));
        result = TRUE;
        return true;
    }

    // Every way of ending: no step may follow, and the list goes.
    void onDestroy() override
    {
        disarm();
        awaitedStep_ = 0;
        paths_.clear();
    }

private:
    int count() const { return static_cast<int>(paths_.size()); }

    void showCounter(int n)
    {
        HWND text = control(IDC_PROGRESS_TEXT);
        SetWindowTextA(text, ProgressCounterText(n, count()).c_str());
        // The correction blocks this thread: show the counter before it starts.
        UpdateWindow(text);
    }

    void correct(int n)
    {
        showCounter(n);
        // A copy: the list goes should the box end while the message is corrected.
        const std::string mailPath = paths_[static_cast<std::size_t>(n - 1)];
        correctOne_(mailPath);
        if (n >= count()) {
            paths_.clear();
            end(0);
            return;
        }
        arm(n + 1);
    }

    // Starts the timer that will ask for step n.
    void arm(int n)
    {
        armedStep_ = n;
        timer_ = host_.APASetTimer(kStepDelay, StepTimer, reinterpret_cast<intptr_t>(this));
    }

    // The timer has fired (and stops, returning 0): the step goes to the box's own queue.
    void postArmedStep()
    {
        timer_ = 0;
        if (window() == nullptr || armedStep_ == 0) {
            return;
        }
        awaitedStep_ = armedStep_;
        armedStep_ = 0;
        PostMessageA(window(), kStepMessage, 0, awaitedStep_);
    }

    // Stops a step timer that has not fired yet.
    void disarm()
    {
        if (timer_ != 0) {
            host_.APAKillTimer(timer_);
            timer_ = 0;
        }
        armedStep_ = 0;
    }

    const HostApi& host_;
    const HostWindow source_;
    const std::function<void(const std::string&)>& correctOne_;
    std::vector<std::string> paths_;
    unsigned timer_ = 0;   // the pending step timer; 0 when none is pending
    int armedStep_ = 0;    // the step that timer will ask for
    int awaitedStep_ = 0;  // the step posted to the box and not yet handled
};

}  // namespace

void RunReclassifyProgressBox(HINSTANCE module, const HostApi& host, HWND window,
                              const std::function<void(const std::string& mailPath)>& correctOne)
{
    ReclassifyProgressBox box(host, window, correctOne);
    box.run(module, IDD_RECLASSIFY_PROGRESS, window);
}
