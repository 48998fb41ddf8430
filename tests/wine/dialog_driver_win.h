// Drives one dialog box of this process from a second thread, as a user would: the test's
// own thread is inside the dialog's modal loop meanwhile. Find the box by its caption once
// a given control exists, read and set its controls, press keys and buttons.
//
// Keys and clicks are posted, as input arrives; settle() returns once everything posted
// before it has been handled, so a test can check what a key did (or that it did nothing)
// without waiting for a fixed time.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

// A visible "#32770" window of this process titled caption (and owned by owner when one is
// given); null when there is none. Only this process counts: tests run side by side on one
// display, and a box of another test may carry the same caption.
inline HWND FindOwnBox(const std::string& caption, HWND owner = nullptr)
{
    for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", caption.c_str()); box != nullptr;
         box = FindWindowExA(nullptr, box, "#32770", caption.c_str())) {
        DWORD process = 0;
        GetWindowThreadProcessId(box, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(box) &&
            (owner == nullptr || GetWindow(box, GW_OWNER) == owner)) {
            return box;
        }
    }
    return nullptr;
}

class DialogDriver {
public:
    // The box FindOwnBox finds, once its control readyControl exists and its thread has come
    // back to its message loop; nothing when none appears before timeoutMs.
    static std::optional<DialogDriver> find(const std::string& caption, int readyControl,
                                            HWND owner = nullptr, DWORD timeoutMs = 15000)
    {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        while (GetTickCount64() < deadline) {
            HWND box = FindOwnBox(caption, owner);
            if (box != nullptr && GetDlgItem(box, readyControl) != nullptr) {
                DialogDriver driver(box);
                driver.settle();
                return driver;
            }
            Sleep(20);
        }
        return std::nullopt;
    }

    HWND window() const { return box_; }
    HWND control(int id) const { return GetDlgItem(box_, id); }
    HWND owner() const { return GetWindow(box_, GW_OWNER); }
    bool open() const { return IsWindow(box_) && IsWindowVisible(box_); }

    std::string text(int id) const { return TextOf(control(id)); }
    std::string caption() const { return TextOf(box_); }
    // The texts of the box's "Static" controls that show text (not icons), in child order.
    std::vector<std::string> staticTexts() const
    {
        std::vector<std::string> texts;
        for (HWND child = GetWindow(box_, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char name[32] = {};
            GetClassNameA(child, name, sizeof name);
            const bool icon = (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
            const std::string text = TextOf(child);
            if (lstrcmpiA(name, "Static") == 0 && !icon && !text.empty()) {
                texts.push_back(text);
            }
        }
        return texts;
    }
    bool ticked(int id) const
    {
        return SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    // Types text into an edit field (replacing what it held).
    void setText(int id, const std::string& text) const
    {
        SendMessageA(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Clicks a check box (the box itself, which then tells the dialog) when it does not
    // show the wanted state.
    void setTicked(int id, bool wanted) const
    {
        if (ticked(id) != wanted) {
            PostMessageA(control(id), BM_CLICK, 0, 0);
            settle();
        }
    }
    // Clicks a push button: the dialog hears of it as the button would tell it.
    void click(int id) const
    {
        PostMessageA(box_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control(id)));
    }
    // The caption's close box.
    void closeBox() const { PostMessageA(box_, WM_SYSCOMMAND, SC_CLOSE, 0); }
    // A key pressed and released while control id (the box itself for 0) has the focus.
    void pressKey(UINT key, int id = 0) const
    {
        HWND target = id == 0 ? box_ : control(id);
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    }

    // Returns once the box's thread has handled everything posted to it before the call:
    // the first round trip may be answered before the posted messages are taken from the
    // queue, the second only after the modal loop has dispatched them.
    void settle() const
    {
        for (int trip = 0; trip < 2 && IsWindow(box_); ++trip) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(box_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        }
    }

    // Waits until the box is gone; false when it is still there after timeoutMs.
    bool waitClosed(DWORD timeoutMs = 15000) const
    {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        while (IsWindow(box_) && IsWindowVisible(box_)) {
            if (GetTickCount64() >= deadline) {
                return false;
            }
            Sleep(20);
        }
        return true;
    }

private:
    explicit DialogDriver(HWND box) : box_(box) {}

    static std::string TextOf(HWND window)
    {
        const int length = static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
        std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        const int copied = static_cast<int>(SendMessageA(window, WM_GETTEXT, text.size(),
                                                         reinterpret_cast<LPARAM>(text.data())));
        text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        return text;
    }

    HWND box_;
};

// Runs show(), which opens a modal box on this thread, while script drives the box from a
// second thread. script returns the box it drove (nothing when it found none); a box it
// leaves open is closed, so that a failed step cannot leave the test hanging. Returns
// show()'s result once both have finished.
template <typename Show, typename Script>
auto RunWhileDriving(Show show, Script script) -> decltype(show())
{
    std::thread driver([&script] {
        const std::optional<DialogDriver> box = script();
        if (box && box->open()) {
            box->closeBox();
        }
    });
    const auto result = show();
    driver.join();
    return result;
}
