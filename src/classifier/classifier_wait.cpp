#include "classifier/classifier_wait.h"

#include "core/plugin_state.h"

bool WaitForClassifierIfNeeded(PluginState& state, ClassifierWaitUi& ui,
                               HostTimerProc probeTimer, HostWindow frame)
{
    if (!state.classifierWaitPending || ui.reachable(frame)) {
        return false;
    }
    state.classifierWaitPending = false;
    const unsigned timer = state.host.APASetTimer(kClassifierProbeInterval, probeTimer, 0);
    ui.runWaitBox();
    state.host.APAKillTimer(timer);
    return true;
}

int ClassifierWaitTimerStep(ClassifierWaitUi& ui)
{
    if (!ui.reachable(nullptr)) {
        return 1;
    }
    ui.closeWaitBox();
    return 0;
}
