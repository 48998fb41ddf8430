#include "classifier/classifier_services_win.h"

#include "core/process_win.h"

ClassifierContext ProcessClassifierContext()
{
    PluginProcess& process = ThePluginProcess();
    return ClassifierContext{process.state, process.platform, process.http,
                             &process.selectedMailCorrection};
}

bool IsProcessClassifierReachable(HostWindow window)
{
    PluginProcess& process = ThePluginProcess();
    return IsClassifierReachable(process.state.classifierProbe, process.state.host,
                                 process.profile, process.portProber, window);
}
