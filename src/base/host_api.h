// The mail client's services, as the plug-in sees them: one table of function
// pointers resolved once at load. Every piece of the plug-in that talks to the
// host receives a HostApi by reference, so tests can hand it a fake table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#if defined(_WIN32) && !defined(_WIN64)
#define TW_STDCALL __stdcall
#else
#define TW_STDCALL
#endif

// Opaque host handles; HWND and HMENU on Windows.
using HostWindow = void*;
using HostMenu = void*;

// callback(window, parameter), run when a registered command reaches the host window.
using HostCommandProc = void(TW_STDCALL*)(HostWindow window, intptr_t parameter);
// callback(ignored, parameter), run every interval until it returns 0 or the timer is killed.
using HostTimerProc = int(TW_STDCALL*)(HostWindow ignored, intptr_t parameter);

// Every service the plug-in needs from the host: name, argument count, result, parameters.
// Texts are Shift-JIS and owned by the host. A mail reference is a message file's path
// below the mailbox root without its ".CRV" extension.
#define TW_HOST_SERVICES(X)                                                                   \
    X(APARegistCallback, 2, unsigned, (HostCommandProc callback, intptr_t parameter))          \
    X(APASetTimer, 3, unsigned, (unsigned milliseconds, HostTimerProc callback, intptr_t parameter)) \
    X(APAKillTimer, 1, int, (unsigned timer))                                                 \
    X(APAIsBusy, 0, int, ())                                                                  \
    X(APAGetMailbox, 0, const char*, ())                                                      \
    X(APAGetAccount, 1, const char*, (HostWindow window))                                     \
    X(APAImportFile, 3, int, (const char* file, const char* destination, int reserved))       \
    X(APASaveMail, 4, int, (const char* mail, const char* file, int reserved1, int reserved2)) \
    X(APAMoveMail, 2, int, (const char* mail, const char* destination))                      \
    X(APAMarkMail, 3, int, (const char* mail, int mark, int set))                             \
    X(APADeleteMail, 1, int, (const char* mail))                                              \
    X(APAFolderGetCurrentFolder, 1, const char*, (HostWindow window))                         \
    X(APAFolderGetCurrentEntry, 1, const char*, (HostWindow window))                          \
    X(APAFolderGetSelectEntry, 2, const char*, (HostWindow window, int first))                \
    X(APAViewGetPath, 1, const char*, (HostWindow view))                                      \
    X(APAExecCorvane, 1, intptr_t, (intptr_t a))                                              \
    X(APAGetFolderName, 1, intptr_t, (intptr_t a))                                            \
    X(APAFolderChangePassword, 2, intptr_t, (intptr_t a, intptr_t b))                         \
    X(APAFolderMailTo, 2, intptr_t, (intptr_t a, intptr_t b))                                 \
    X(APAFolderReply, 2, intptr_t, (intptr_t a, intptr_t b))                                  \
    X(APAFolderForward, 2, intptr_t, (intptr_t a, intptr_t b))                                \
    X(APAFolderOpenMail, 3, intptr_t, (intptr_t a, intptr_t b, intptr_t c))                  \
    X(APASendGetText, 2, intptr_t, (intptr_t a, intptr_t b))                                  \
    X(APASendGetHeader, 1, intptr_t, (intptr_t a))                                            \
    X(APASendSetText, 2, intptr_t, (intptr_t a, intptr_t b))                                  \
    X(APASendSetHeader, 2, intptr_t, (intptr_t a, intptr_t b))                                \
    X(APASendGetEditor, 1, intptr_t, (intptr_t a))                                            \
    X(APAViewGetText, 1, intptr_t, (intptr_t a))                                              \
    X(APAViewGetHeader, 1, intptr_t, (intptr_t a))                                            \
    X(APAViewSetText, 2, intptr_t, (intptr_t a, intptr_t b))                                  \
    X(APAViewGetEditor, 1, intptr_t, (intptr_t a))                                            \
    X(APAViewChangeMail, 2, intptr_t, (intptr_t a, intptr_t b))                               \
    X(APASjisToJis, 3, intptr_t, (intptr_t a, intptr_t b, intptr_t c))                        \
    X(APAJisToSjis, 3, intptr_t, (intptr_t a, intptr_t b, intptr_t c))

namespace hostfn {
#define TW_DECLARE_HOST_FN(name, argc, result, params) using name = result(TW_STDCALL*) params;
TW_HOST_SERVICES(TW_DECLARE_HOST_FN)
#undef TW_DECLARE_HOST_FN
}  // namespace hostfn

struct HostApi {
    void* module = nullptr;  // the host's main executable; null while unresolved
#define TW_DECLARE_HOST_MEMBER(name, argc, result, params) hostfn::name name = nullptr;
    TW_HOST_SERVICES(TW_DECLARE_HOST_MEMBER)
#undef TW_DECLARE_HOST_MEMBER

    bool resolved() const { return module != nullptr; }
};

// A host text as a string; a null pointer (the host has no answer) reads as empty.
inline std::string HostText(const char* text)
{
    return text != nullptr ? std::string(text) : std::string();
}

// Number of services in the table.
constexpr int kHostServiceCount = 0
#define TW_COUNT_HOST_SERVICE(name, argc, result, params) +1
    TW_HOST_SERVICES(TW_COUNT_HOST_SERVICE)
#undef TW_COUNT_HOST_SERVICE
    ;

// The name a service is exported under: "_" + name + "@" + 4 x argument count.
std::string DecoratedServiceName(const char* name, int argumentCount);

// Looks a decorated name up in the host's image; null when it is not exported.
using HostSymbolLookup = std::function<void*(const std::string& decoratedName)>;

// Fills every service from the lookup. At the first missing service the table is left
// unresolved (module null) and false is returned.
bool ResolveHostApi(HostApi& api, void* hostModule, const HostSymbolLookup& lookup);

// Forgets the host module; the table then counts as unresolved.
void MarkHostApiUnresolved(HostApi& api);
