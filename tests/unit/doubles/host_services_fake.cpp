#include "doubles/host_services_fake.h"

#include <cstdint>
#include <utility>

namespace {
HostServicesFake* active = nullptr;

void Record(const char* service, std::vector<std::string> arguments)
{
    if (active != nullptr) {
        active->calls.push_back({service, std::move(arguments)});
    }
}

std::string Text(const char* text)
{
    return text != nullptr ? text : "(null)";
}

unsigned TW_STDCALL RegistCallback(HostCommandProc, intptr_t parameter)
{
    Record("APARegistCallback", {std::to_string(parameter)});
    return 40000;
}

unsigned TW_STDCALL SetTimer(unsigned milliseconds, HostTimerProc, intptr_t parameter)
{
    Record("APASetTimer", {std::to_string(milliseconds), std::to_string(parameter)});
    return 1;
}

int TW_STDCALL KillTimer(unsigned timer)
{
    Record("APAKillTimer", {std::to_string(timer)});
    return 1;
}

int TW_STDCALL IsBusy()
{
    Record("APAIsBusy", {});
    return 0;
}

const char* TW_STDCALL GetMailbox()
{
    Record("APAGetMailbox", {});
    return active != nullptr ? active->mailbox.c_str() : nullptr;
}

const char* TW_STDCALL GetAccount(HostWindow)
{
    Record("APAGetAccount", {});
    if (active == nullptr || !active->accountKnown) {
        return nullptr;
    }
    return active->account.c_str();
}

int TW_STDCALL ImportFile(const char* file, const char* destination, int reserved)
{
    Record("APAImportFile", {Text(file), Text(destination), std::to_string(reserved)});
    return active != nullptr ? active->importResult : 0;
}

int TW_STDCALL SaveMail(const char* mail, const char* file, int reserved1, int reserved2)
{
    Record("APASaveMail",
           {Text(mail), Text(file), std::to_string(reserved1), std::to_string(reserved2)});
    return active != nullptr ? active->saveResult : 0;
}

int TW_STDCALL MoveMail(const char* mail, const char* destination)
{
    Record("APAMoveMail", {Text(mail), Text(destination)});
    return 1;
}

int TW_STDCALL MarkMail(const char* mail, int mark, int set)
{
    Record("APAMarkMail", {Text(mail), std::to_string(mark), std::to_string(set)});
    return 1;
}

int TW_STDCALL DeleteMail(const char* mail)
{
    Record("APADeleteMail", {Text(mail)});
    return 1;
}

const char* TW_STDCALL CurrentFolder(HostWindow)
{
    Record("APAFolderGetCurrentFolder", {});
    return nullptr;
}

const char* AnswerOrNull(const char* service, const std::string HostServicesFake::*answer)
{
    Record(service, {});
    if (active == nullptr || (active->*answer).empty()) {
        return nullptr;
    }
    return (active->*answer).c_str();
}

const char* TW_STDCALL CurrentEntry(HostWindow)
{
    return AnswerOrNull("APAFolderGetCurrentEntry", &HostServicesFake::currentEntry);
}

const char* TW_STDCALL ViewPath(HostWindow)
{
    return AnswerOrNull("APAViewGetPath", &HostServicesFake::viewPath);
}

const char* TW_STDCALL NoSelection(HostWindow, int)
{
    Record("APAFolderGetSelectEntry", {});
    return nullptr;
}

// Services the plug-in resolves but never calls.
intptr_t TW_STDCALL Unused1(intptr_t)
{
    Record("unused service", {});
    return 0;
}
intptr_t TW_STDCALL Unused2(intptr_t, intptr_t)
{
    Record("unused service", {});
    return 0;
}
intptr_t TW_STDCALL Unused3(intptr_t, intptr_t, intptr_t)
{
    Record("unused service", {});
    return 0;
}
}  // namespace

HostServicesFake::HostServicesFake()
{
    static int hostModule = 0;
    api.module = &hostModule;
    api.APARegistCallback = RegistCallback;
    api.APASetTimer = SetTimer;
    api.APAKillTimer = KillTimer;
    api.APAIsBusy = IsBusy;
    api.APAGetMailbox = GetMailbox;
    api.APAGetAccount = GetAccount;
    api.APAImportFile = ImportFile;
    api.APASaveMail = SaveMail;
    api.APAMoveMail = MoveMail;
    api.APAMarkMail = MarkMail;
    api.APADeleteMail = DeleteMail;
    api.APAFolderGetCurrentFolder = CurrentFolder;
    api.APAFolderGetCurrentEntry = CurrentEntry;
    api.APAFolderGetSelectEntry = NoSelection;
    api.APAViewGetPath = ViewPath;
    api.APAExecCorvane = Unused1;
    api.APAGetFolderName = Unused1;
    api.APAFolderChangePassword = Unused2;
    api.APAFolderMailTo = Unused2;
    api.APAFolderReply = Unused2;
    api.APAFolderForward = Unused2;
    api.APAFolderOpenMail = Unused3;
    api.APASendGetText = Unused2;
    api.APASendGetHeader = Unused1;
    api.APASendSetText = Unused2;
    api.APASendSetHeader = Unused2;
    api.APASendGetEditor = Unused1;
    api.APAViewGetText = Unused1;
    api.APAViewGetHeader = Unused1;
    api.APAViewSetText = Unused2;
    api.APAViewGetEditor = Unused1;
    api.APAViewChangeMail = Unused2;
    api.APASjisToJis = Unused3;
    api.APAJisToSjis = Unused3;
    active = this;
}

HostServicesFake::~HostServicesFake()
{
    if (active == this) {
        active = nullptr;
    }
}

std::vector<HostServicesFake::Call> HostServicesFake::callsTo(const std::string& service) const
{
    std::vector<Call> found;
    for (const Call& call : calls) {
        if (call.service == service) {
            found.push_back(call);
        }
    }
    return found;
}
