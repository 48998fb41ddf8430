// Watches for dialog boxes ("#32770" windows, message boxes included) from a second thread
// and answers them as a user would, so that code which shows a modal box on the UI thread can
// be driven without a person and without hanging.
//
// Start the watcher before the call that shows the box: a box shown while the system's loader
// lock is held (from a library entry) would keep a thread started later from running at all.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// What a watcher saw of one dialog.
struct SeenDialog {
    std::string caption;               // window title, Shift-JIS
    std::string text;                  // the first non-empty "Static" text (a message box's text)
    std::vector<std::string> statics;  // every non-empty "Static" text, in child order
    std::string pressed;               // the button label pressed; empty when closed instead
};

class DialogWatcher {
public:
    // Answers up to `limit` top-level "#32770" windows of this process titled caption (any
    // title when caption is empty): once a box's controls are in place (up to 2 s), records
    // its texts, then presses the button labelled button ("&" ignored) or, when there is
    // none, sends WM_CLOSE. Gives up after timeoutMs. beforeAnswer, when given, runs on the
    // watcher's thread with each box once its texts are recorded, just before the button is
    // pressed (the demo takes its screenshots there).
    explicit DialogWatcher(std::string caption, std::string button = "OK", DWORD timeoutMs = 10000,
                           std::size_t limit = 1,
                           std::function<void(HWND dialog)> beforeAnswer = nullptr);
    // Stops watching and waits for the thread.
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Waits until count dialogs were answered or the timeout passed, pumping the calling
    // thread's messages meanwhile; true when count were answered.
    bool waitFor(std::size_t count = 1);
    std::vector<SeenDialog> seen() const;

private:
    static DWORD WINAPI Run(void* self);
    void watch();
    HWND findDialog(const std::vector<HWND>& answered) const;
    HWND findButton(HWND dialog) const;
    SeenDialog answer(HWND dialog);

    std::string caption_;
    std::string button_;
    std::size_t limit_;
    std::function<void(HWND dialog)> beforeAnswer_;
    ULONGLONG deadline_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<SeenDialog> seen_;
    HANDLE running_ = nullptr;  // set once the thread runs our code
    HANDLE thread_ = nullptr;
};

// Shift-JIS (code page 932) bytes as UTF-8, for readable test messages and demo output.
std::string SjisToUtf8(const std::string& sjis);
