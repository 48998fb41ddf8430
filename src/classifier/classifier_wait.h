// The start-up wait: when a folder window is created while the classifier does not yet
// accept connections, a box waits for it, tested again every 100 ms by a host timer, until
// it answers or the user cancels. This happens at most once per run.
#pragma once

#include "core/host_api.h"

struct PluginState;

// What the wait needs from the platform: the reachability test and the box.
class ClassifierWaitUi {
public:
    virtual ~ClassifierWaitUi() = default;

    // IsClassifierReachable: window is the frame being created, or null for a repeat test.
    virtual bool reachable(HostWindow window) = 0;
    // Runs the wait box modally without owner until it ends; 1004 after "ｷｬﾝｾﾙ", 0 when
    // it was closed.
    virtual int runWaitBox() = 0;
    // Asks the open wait box to close; nothing when none is open.
    virtual void closeWaitBox() = 0;
};

inline constexpr unsigned kClassifierProbeInterval = 100;  // milliseconds

// For a frame being created: while the wait is pending and the classifier is not
// reachable, the pending mark is cleared, probeTimer is started every 100 ms (parameter 0)
// and the box runs; the timer is stopped once the box has ended. A reachable classifier
// leaves the wait pending for the next frame. Returns whether the box was shown.
bool WaitForClassifierIfNeeded(PluginState& state, ClassifierWaitUi& ui,
                               HostTimerProc probeTimer, HostWindow frame);

// One run of the probing timer: once the classifier is reachable the box is asked to close
// and 0 stops the timer; otherwise 1 keeps it running.
int ClassifierWaitTimerStep(ClassifierWaitUi& ui);
