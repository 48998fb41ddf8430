// The 34 services, exported from the host's own image under their decorated names
// ("_APAMoveMail@8 = APAMoveMail" in the generated .def), which is where the plug-in looks
// them up with GetProcAddress on the main executable's module. Each forwards to the one
// ReplacementHost; without one, texts come back null and numbers 0.
#include "replacement_host_win.h"

// The declarations come from the service list itself, so a definition below whose signature
// drifts from the list does not compile.
extern "C" {
#define TW_DECLARE_HOST_SERVICE(name, argc, result, params) result TW_STDCALL name params;
TW_HOST_SERVICES(TW_DECLARE_HOST_SERVICE)
#undef TW_DECLARE_HOST_SERVICE
}

namespace {

ReplacementHost* Host()
{
    return ReplacementHost::active();
}

HWND AsWindow(HostWindow window)
{
    return static_cast<HWND>(window);
}

intptr_t Unused(const char* name, const std::vector<intptr_t>& arguments)
{
    return Host() != nullptr ? Host()->unusedService(name, arguments) : 0;
}

}  // namespace

extern "C" {

unsigned TW_STDCALL APARegistCallback(HostCommandProc callback, intptr_t parameter)
{
    return Host() != nullptr ? Host()->APARegistCallback(callback, parameter) : 0;
}

unsigned TW_STDCALL APASetTimer(unsigned milliseconds, HostTimerProc callback, intptr_t parameter)
{
    return Host() != nullptr ? Host()->APASetTimer(milliseconds, callback, parameter) : 0;
}

int TW_STDCALL APAKillTimer(unsigned timer)
{
    return Host() != nullptr ? Host()->APAKillTimer(timer) : 0;
}

int TW_STDCALL APAIsBusy()
{
    return Host() != nullptr ? Host()->APAIsBusy() : 0;
}

const char* TW_STDCALL APAGetMailbox()
{
    return Host() != nullptr ? Host()->APAGetMailbox() : nullptr;
}

const char* TW_STDCALL APAGetAccount(HostWindow window)
{
    return Host() != nullptr ? Host()->APAGetAccount(AsWindow(window)) : nullptr;
}

int TW_STDCALL APAImportFile(const char* file, const char* destination, int reserved)
{
    return Host() != nullptr ? Host()->APAImportFile(file, destination, reserved) : 0;
}

int TW_STDCALL APASaveMail(const char* mail, const char* file, int reserved1, int reserved2)
{
    return Host() != nullptr ? Host()->APASaveMail(mail, file, reserved1, reserved2) : 0;
}

int TW_STDCALL APAMoveMail(const char* mail, const char* destination)
{
    return Host() != nullptr ? Host()->APAMoveMail(mail, destination) : 0;
}

int TW_STDCALL APAMarkMail(const char* mail, int mark, int set)
{
    return Host() != nullptr ? Host()->APAMarkMail(mail, mark, set) : 0;
}

int TW_STDCALL APADeleteMail(const char* mail)
{
    return Host() != nullptr ? Host()->APADeleteMail(mail) : 0;
}

const char* TW_STDCALL APAFolderGetCurrentFolder(HostWindow window)
{
    return Host() != nullptr ? Host()->APAFolderGetCurrentFolder(AsWindow(window)) : nullptr;
}

const char* TW_STDCALL APAFolderGetCurrentEntry(HostWindow window)
{
    return Host() != nullptr ? Host()->APAFolderGetCurrentEntry(AsWindow(window)) : nullptr;
}

const char* TW_STDCALL APAFolderGetSelectEntry(HostWindow window, int first)
{
    return Host() != nullptr ? Host()->APAFolderGetSelectEntry(AsWindow(window), first) : nullptr;
}

const char* TW_STDCALL APAViewGetPath(HostWindow view)
{
    return Host() != nullptr ? Host()->APAViewGetPath(AsWindow(view)) : nullptr;
}

intptr_t TW_STDCALL APAExecCorvane(intptr_t a)
{
    return Unused("APAExecCorvane", {a});
}

intptr_t TW_STDCALL APAGetFolderName(intptr_t a)
{
    return Unused("APAGetFolderName", {a});
}

intptr_t TW_STDCALL APAFolderChangePassword(intptr_t a, intptr_t b)
{
    return Unused("APAFolderChangePassword", {a, b});
}

intptr_t TW_STDCALL APAFolderMailTo(intptr_t a, intptr_t b)
{
    return Unused("APAFolderMailTo", {a, b});
}

intptr_t TW_STDCALL APAFolderReply(intptr_t a, intptr_t b)
{
    return Unused("APAFolderReply", {a, b});
}

intptr_t TW_STDCALL APAFolderForward(intptr_t a, intptr_t b)
{
    return Unused("APAFolderForward", {a, b});
}

intptr_t TW_STDCALL APAFolderOpenMail(intptr_t a, intptr_t b, intptr_t c)
{
    return Unused("APAFolderOpenMail", {a, b, c});
}

intptr_t TW_STDCALL APASendGetText(intptr_t a, intptr_t b)
{
    return Unused("APASendGetText", {a, b});
}

intptr_t TW_STDCALL APASendGetHeader(intptr_t a)
{
    return Unused("APASendGetHeader", {a});
}

intptr_t TW_STDCALL APASendSetText(intptr_t a, intptr_t b)
{
    return Unused("APASendSetText", {a, b});
}

intptr_t TW_STDCALL APASendSetHeader(intptr_t a, intptr_t b)
{
    return Unused("APASendSetHeader", {a, b});
}

intptr_t TW_STDCALL APASendGetEditor(intptr_t a)
{
    return Unused("APASendGetEditor", {a});
}

intptr_t TW_STDCALL APAViewGetText(intptr_t a)
{
    return Unused("APAViewGetText", {a});
}

intptr_t TW_STDCALL APAViewGetHeader(intptr_t a)
{
    return Unused("APAViewGetHeader", {a});
}

intptr_t TW_STDCALL APAViewSetText(intptr_t a, intptr_t b)
{
    return Unused("APAViewSetText", {a, b});
}

intptr_t TW_STDCALL APAViewGetEditor(intptr_t a)
{
    return Unused("APAViewGetEditor", {a});
}

intptr_t TW_STDCALL APAViewChangeMail(intptr_t a, intptr_t b)
{
    return Unused("APAViewChangeMail", {a, b});
}

intptr_t TW_STDCALL APASjisToJis(intptr_t a, intptr_t b, intptr_t c)
{
    return Unused("APASjisToJis", {a, b, c});
}

intptr_t TW_STDCALL APAJisToSjis(intptr_t a, intptr_t b, intptr_t c)
{
    return Unused("APAJisToSjis", {a, b, c});
}

}  // extern "C"
