#include "base/host_api.h"

std::string DecoratedServiceName(const char* name, int argumentCount)
{
    return "_" + std::string(name) + "@" + std::to_string(4 * argumentCount);
}

bool ResolveHostApi(HostApi& api, void* hostModule, const HostSymbolLookup& lookup)
{
    HostApi resolved;
    resolved.module = hostModule;
#define TW_RESOLVE_HOST_SERVICE(name, argc, result, params)                              \
    resolved.name = reinterpret_cast<hostfn::name>(lookup(DecoratedServiceName(#name, argc))); \
    if (resolved.name == nullptr) {                                                      \
        MarkHostApiUnresolved(api);                                                      \
        return false;                                                                    \
    }
    TW_HOST_SERVICES(TW_RESOLVE_HOST_SERVICE)
#undef TW_RESOLVE_HOST_SERVICE
    api = resolved;
    return true;
}

void MarkHostApiUnresolved(HostApi& api)
{
    api.module = nullptr;
}
