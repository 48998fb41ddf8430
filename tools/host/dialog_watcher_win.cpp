#include "dialog_watcher_win.h"

#include <algorithm>

namespace {

constexpr DWORD kPollMilliseconds = 20;
// One message round trip may take this long before the box counts as not ready yet.
constexpr DWORD kRoundTripMilliseconds = 200;

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WithoutAmpersands(std::string label)
{
    label.erase(std::remove(label.begin(), label.end(), '&'), label.end());
    return label;
}

struct ChildList {
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM list)
{
    reinterpret_cast<ChildList*>(list)->children.push_back(child);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window)
{
    ChildList list;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&list));
    return list.children;
}

}  // namespace

std::string SjisToUtf8(const std::string& sjis)
{
    if (sjis.empty()) {
        return std::string();
    }
    const int wideLength = MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

DialogWatcher::DialogWatcher(std::string caption, std::string button, DWORD timeoutMs, std::size_t limit,
                             std::function<void(HWND dialog)> beforeAnswer)
    : caption_(std::move(caption)), button_(std::move(button)), limit_(limit),
      beforeAnswer_(std::move(beforeAnswer)), deadline_(GetTickCount64() + timeoutMs)
{
    // Wait until the thread has started: a thread still being set up needs the loader lock,
    // which a box shown from a library entry holds until the box closes.
    running_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    if (thread_ != nullptr) {
        WaitForSingleObject(running_, INFINITE);
    }
}

DialogWatcher::~DialogWatcher()
{
    stop_ = true;
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    CloseHandle(running_);
}

bool DialogWatcher::waitFor(std::size_t count)
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (seen_.size() >= count) {
                return true;
            }
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline_) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMilliseconds, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void DialogWatcher::expectText(std::string text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    expectedTexts_.push_back(std::move(text));
}

std::vector<SeenDialog> DialogWatcher::seen() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

DWORD WINAPI DialogWatcher::Run(void* self)
{
    static_cast<DialogWatcher*>(self)->watch();
    return 0;
}

void DialogWatcher::watch()
{
    // Touch the window system once before reporting in, so that nothing of this thread's
    // first-use set-up is left for the time the loader lock may be held.
    FindWindowExA(nullptr, nullptr, "#32770", nullptr);
    SetEvent(running_);
    std::vector<HWND> answered;
    while (!stop_ && GetTickCount64() < deadline_ && answered.size() < limit_) {
        HWND dialog = findDialog(answered);
        if (dialog == nullptr) {
            Sleep(kPollMilliseconds);
            continue;
        }
        SeenDialog seen = answer(dialog);
        answered.push_back(dialog);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.push_back(std::move(seen));
        }
        // A handle may be reused by the next box once this one is gone.
        while (IsWindow(dialog) && !stop_ && GetTickCount64() < deadline_) {
            Sleep(kPollMilliseconds);
        }
        answered.back() = IsWindow(dialog) ? dialog : nullptr;
    }
}

HWND DialogWatcher::findDialog(const std::vector<HWND>& answered) const
{
    const char* title = caption_.empty() ? nullptr : caption_.c_str();
    for (HWND dialog = FindWindowExA(nullptr, nullptr, "#32770", title); dialog != nullptr;
         dialog = FindWindowExA(nullptr, dialog, "#32770", title)) {
        // Tests run side by side in one Wine session: boxes of other processes are theirs.
        DWORD process = 0;
        GetWindowThreadProcessId(dialog, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(dialog) &&
            std::find(answered.begin(), answered.end(), dialog) == answered.end()) {
            return dialog;
        }
    }
    return nullptr;
}

HWND DialogWatcher::findButton(HWND dialog) const
{
    for (HWND child : ChildrenOf(dialog)) {
        if (ClassOf(child) == "Button" && WithoutAmpersands(WindowText(child)) == button_) {
            return child;
        }
    }
    return nullptr;
}

bool DialogWatcher::showsExpectedTexts(HWND dialog) const
{
    std::vector<std::string> expected;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        expected = expectedTexts_;
    }
    std::vector<std::string> shown;
    for (HWND child : ChildrenOf(dialog)) {
        if (ClassOf(child) == "Static") {
            shown.push_back(WindowText(child));
        }
    }
    for (const std::string& text : expected) {
        if (std::find(shown.begin(), shown.end(), text) == shown.end()) {
            return false;
        }
    }
    return true;
}

SeenDialog DialogWatcher::answer(HWND dialog)
{
    // A box turns visible before all its controls and texts are in place, and a loaded
    // machine may take seconds to finish it: wait until it is ready, up to the deadline.
    HWND button = nullptr;
    for (;;) {
        DWORD_PTR ignored = 0;
        const bool inMessageLoop = SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_BLOCK,
                                                       kRoundTripMilliseconds, &ignored) != 0;
        button = findButton(dialog);
        const bool ready = inMessageLoop && button != nullptr && showsExpectedTexts(dialog);
        if (ready || !IsWindow(dialog) || stop_ || GetTickCount64() >= deadline_) {
            if (!ready) {
                button = nullptr;
            }
            break;
        }
        Sleep(kPollMilliseconds);
    }

    SeenDialog seen;
    seen.caption = WindowText(dialog);
    for (HWND child : ChildrenOf(dialog)) {
        const std::string text = WindowText(child);
        if (ClassOf(child) == "Static" && !text.empty()) {
            seen.statics.push_back(text);
        }
    }
    if (!seen.statics.empty()) {
        seen.text = seen.statics.front();
    }
    if (beforeAnswer_) {
        beforeAnswer_(dialog);
    }
    if (button != nullptr) {
        seen.pressed = button_;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    } else {
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
    return seen;
}
