// The services as the host object carries them out. Each call is logged with its
// arguments and result before it returns; texts handed back stay valid until the same
// service is called again.
#include "replacement_host_win.h"

#include "host_clock_win.h"

namespace {

std::string TextArgument(const char* text)
{
    return text == nullptr ? std::string("(null)") : std::string(text);
}

std::string NumberArgument(long long value)
{
    return std::to_string(value);
}

}  // namespace

void ReplacementHost::log(const char* service, std::vector<std::string> arguments,
                          std::string result, std::string detail)
{
    calls_.push_back({service, std::move(arguments), std::move(result), std::move(detail)});
    if (callObserver_) {
        // A copy: the observer may call services, which grow the log.
        const HostCall call = calls_.back();
        callObserver_(call);
    }
}

std::string ReplacementHost::accountOfWindow(HWND window) const
{
    const auto view = views_.find(window);
    if (view != views_.end()) {
        return Mailbox::accountOf(view->second);
    }
    if (window == frame_ && !currentFolder_.empty()) {
        return Mailbox::accountOf(currentFolder_);
    }
    return std::string();
}

unsigned ReplacementHost::APARegistCallback(HostCommandProc callback, intptr_t parameter)
{
    unsigned command = 0;
    if (commandNumbersReused_) {
        for (const auto& [number, registered] : commands_) {
            if (registered.callback == callback && registered.parameter == parameter) {
                command = number;
                break;
            }
        }
    }
    if (command == 0) {
        command = nextCommand_++;
        commands_[command] = {callback, parameter};
    }
    log("APARegistCallback", {LoggedPointer(reinterpret_cast<const void*>(callback)), NumberArgument(parameter)},
        NumberArgument(command));
    return command;
}

unsigned ReplacementHost::APASetTimer(unsigned milliseconds, HostTimerProc callback, intptr_t parameter)
{
    const unsigned id = nextTimer_++;
    timers_[id].timer = {id, milliseconds, callback, parameter};
    SetTimer(frame_, id, milliseconds, nullptr);
    log("APASetTimer",
        {NumberArgument(milliseconds), LoggedPointer(reinterpret_cast<const void*>(callback)), NumberArgument(parameter)},
        NumberArgument(id));
    return id;
}

int ReplacementHost::APAKillTimer(unsigned timer)
{
    const bool known = timers_.erase(timer) != 0;
    if (known) {
        KillTimer(frame_, timer);
    }
    log("APAKillTimer", {NumberArgument(timer)}, NumberArgument(known ? 1 : 0));
    return known ? 1 : 0;
}

int ReplacementHost::APAIsBusy()
{
    const int busy = busy_ ? 1 : 0;
    log("APAIsBusy", {}, NumberArgument(busy));
    return busy;
}

const char* ReplacementHost::APAGetMailbox()
{
    ServiceTimer timer(fileServiceSeconds_);
    mailboxText_ = mailbox_.root();
    log("APAGetMailbox", {}, mailboxText_);
    return mailboxText_.c_str();
}

const char* ReplacementHost::APAGetAccount(HWND window)
{
    const std::string account = accountOfWindow(window);
    accountText_ = account.empty() ? std::string() : mailbox_.accountDirectory(account);
    const char* result = account.empty() ? nullptr : accountText_.c_str();
    log("APAGetAccount", {LoggedPointer(window)}, TextArgument(result));
    return result;
}

int ReplacementHost::APAImportFile(const char* file, const char* destination, int reserved)
{
    ServiceTimer timer(fileServiceSeconds_);
    std::string imported;
    if (file != nullptr && destination != nullptr) {
        if (const std::optional<std::string> folder = mailbox_.resolveDestination(destination)) {
            imported = mailbox_.addMessageFromFile(*folder, file);
        }
    }
    if (!imported.empty()) {
        const auto origin = savedCopies_.find(file);
        if (origin != savedCopies_.end()) {
            copies_[origin->second].push_back(imported);
        }
    }
    const int result = imported.empty() ? 0 : 1;
    log("APAImportFile", {TextArgument(file), TextArgument(destination), NumberArgument(reserved)},
        NumberArgument(result), imported);
    return result;
}

int ReplacementHost::APASaveMail(const char* mail, const char* file, int reserved1, int reserved2)
{
    ServiceTimer timer(fileServiceSeconds_);
    int result = 0;
    if (mail != nullptr && file != nullptr && mailbox_.messageExists(mail)) {
        result = CopyFileA(mailbox_.messagePath(mail).c_str(), file, FALSE) ? 1 : 0;
        if (result != 0) {
            savedCopies_[file] = mail;
        }
    }
    log("APASaveMail",
        {TextArgument(mail), TextArgument(file), NumberArgument(reserved1), NumberArgument(reserved2)},
        NumberArgument(result));
    return result;
}

int ReplacementHost::APAMoveMail(const char* mail, const char* destination)
{
    ServiceTimer timer(fileServiceSeconds_);
    std::string moved;
    if (mail != nullptr && destination != nullptr && mailbox_.messageExists(mail)) {
        if (const std::optional<std::string> folder = mailbox_.resolveDestination(destination)) {
            moved = mailbox_.addMessageFromFile(*folder, mailbox_.messagePath(mail));
        }
    }
    if (!moved.empty()) {
        DeleteFileA(mailbox_.messagePath(mail).c_str());
        const auto mark = marks_.find(mail);
        if (mark != marks_.end()) {
            marks_[moved] = mark->second;
            marks_.erase(mail);
        }
    }
    const int result = moved.empty() ? 0 : 1;
    log("APAMoveMail", {TextArgument(mail), TextArgument(destination)}, NumberArgument(result), moved);
    return result;
}

int ReplacementHost::APAMarkMail(const char* mail, int mark, int set)
{
    ServiceTimer timer(fileServiceSeconds_);
    if (mail != nullptr) {
        if (set != 0) {
            marks_[mail] = mark;
        } else {
            marks_.erase(mail);
        }
    }
    const int result = mail != nullptr ? 1 : 0;
    log("APAMarkMail", {TextArgument(mail), NumberArgument(mark), NumberArgument(set)},
        NumberArgument(result));
    return result;
}

int ReplacementHost::APADeleteMail(const char* mail)
{
    ServiceTimer timer(fileServiceSeconds_);
    int result = 0;
    if (mail != nullptr) {
        result = DeleteFileA(mailbox_.messagePath(mail).c_str()) ? 1 : 0;
        marks_.erase(mail);
    }
    log("APADeleteMail", {TextArgument(mail)}, NumberArgument(result));
    return result;
}

const char* ReplacementHost::APAFolderGetCurrentFolder(HWND window)
{
    currentFolderText_ = currentFolder_;
    const char* result = currentFolder_.empty() ? nullptr : currentFolderText_.c_str();
    log("APAFolderGetCurrentFolder", {LoggedPointer(window)}, TextArgument(result));
    return result;
}

const char* ReplacementHost::APAFolderGetCurrentEntry(HWND window)
{
    currentEntryText_ = currentEntry_;
    const char* result = currentEntry_.empty() ? nullptr : currentEntryText_.c_str();
    log("APAFolderGetCurrentEntry", {LoggedPointer(window)}, TextArgument(result));
    return result;
}

const char* ReplacementHost::APAFolderGetSelectEntry(HWND window, int first)
{
    if (first != 0) {
        selectionCursor_ = 0;
    }
    const char* result = nullptr;
    if (selectionCursor_ < selection_.size()) {
        selectEntryText_ = selection_[selectionCursor_++];
        result = selectEntryText_.c_str();
    }
    log("APAFolderGetSelectEntry", {LoggedPointer(window), NumberArgument(first)}, TextArgument(result));
    return result;
}

const char* ReplacementHost::APAViewGetPath(HWND view)
{
    const auto found = views_.find(view);
    const char* result = nullptr;
    if (found != views_.end()) {
        viewPathText_ = mailbox_.messagePath(found->second);
        result = viewPathText_.c_str();
    }
    log("APAViewGetPath", {LoggedPointer(view)}, TextArgument(result));
    return result;
}

intptr_t ReplacementHost::unusedService(const char* name, const std::vector<intptr_t>& arguments)
{
    std::vector<std::string> logged;
    for (intptr_t argument : arguments) {
        logged.push_back(NumberArgument(argument));
    }
    log(name, std::move(logged), "0");
    return 0;
}
