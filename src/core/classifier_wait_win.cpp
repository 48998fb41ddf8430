#include "core/classifier_wait_win.h"

#include "classifier/classifier_services_win.h"
#include "classifier/classifier_wait.h"
#include "core/process_win.h"
#include "ui/classifier_wait_box_win.h"

namespace {

class ProcessClassifierWait : public ClassifierWaitUi {
public:
    bool reachable(HostWindow window) override { return IsProcessClassifierReachable(window); }

    int runWaitBox() override
    {
        return static_cast<int>(RunClassifierWaitBox(
            static_cast<HINSTANCE>(ThePluginProcess().state.pluginInstance)));
    }

    void closeWaitBox() override { closeClassifierWaitBox(); }
};

// A host timer callback, run from the host's message loop: nothing may escape into it. A
// failed test keeps the timer going; the user can still cancel.
int TW_STDCALL ProbeClassifierTimer(HostWindow, intptr_t)
{
    try {
        ProcessClassifierWait wait;
        return ClassifierWaitTimerStep(wait);
    } catch (...) {
        return 1;
    }
}

}  // namespace

void RunClassifierWaitIfNeeded(HWND frame)
{
    ProcessClassifierWait wait;
    WaitForClassifierIfNeeded(ThePluginProcess().state, wait, ProbeClassifierTimer, frame);
}
