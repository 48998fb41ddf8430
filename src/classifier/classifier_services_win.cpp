#include "classifier/classifier_services_win.h"

#include "core/process_win.h"

namespace {
ClassifierServices services;
}

ClassifierServices& TheClassifierServices()
{
    return services;
}

ClassifierContext ProcessClassifierContext()
{
    PluginProcess& process = ThePluginProcess();
    return ClassifierContext{process.state, process.platform, services.http};
}

bool IsProcessClassifierReachable(HostWindow window)
{
    PluginProcess& process = ThePluginProcess();
    return IsClassifierReachable(process.state.classifierProbe, process.state.host,
                                 process.profile, services.portProber, window);
}
