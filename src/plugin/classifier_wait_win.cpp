#include "plugin/classifier_wait_win.h"

#include "classifier/classifier_probe.h"
#include "plugin/process_win.h"
#include "ui/classifier_wait_box_win.h"

namespace {

constexpr unsigned kProbeInterval = 100;  // milliseconds

// IsClassifierReachable over the process-wide probe state: window is the frame window being
// created, or null for the wait box's repeated tests.
bool IsProcessClassifierReachable(HostWindow window)
{
    PluginProcess& process = ThePluginProcess();
    return IsClassifierReachable(process.state.classifierProbe, process.state.host,
                                 process.profile, process.portProber, window);
}

// Tests the classifier again, without a window. Once it answers the box is asked to close
// and 0 stops the timer; 1 keeps it running. A host timer callback, run from the host's
// message loop: nothing may escape into it, and a failed test keeps the timer going (the
// user can still cancel).
int TW_STDCALL ProbeClassifierTimer(HostWindow, intptr_t)
{
    try {
        if (!IsProcessClassifierReachable(nullptr)) {
            return 1;
        }
        closeClassifierWaitBox();
        return 0;
    } catch (...) {
        return 1;
    }
}

}  // namespace

void RunClassifierWaitIfNeeded(HWND frame)
{
    PluginState& state = ThePluginProcess().state;
    // A reachable classifier (or no check needed) leaves the wait for the next window.
    if (!state.classifierWaitPending || IsProcessClassifierReachable(frame)) {
        return;
    }
    state.classifierWaitPending = false;
    const unsigned timer = state.host.APASetTimer(kProbeInterval, ProbeClassifierTimer, 0);
    RunClassifierWaitBox(static_cast<HINSTANCE>(state.pluginInstance));
    state.host.APAKillTimer(timer);
}
