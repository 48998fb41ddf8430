#include "plugin/process_win.h"

namespace {
PluginProcess processObjects;
}

PluginProcess& ThePluginProcess()
{
    return processObjects;
}
