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
    // title when caption is empty). A box is answered once it is ready: its thread is back in
    // a message loop, the button labelled button ("&" ignored) exists, and every text given
    // to expectText is shown. Then its texts are recorded and the button pressed. A box that
    // is still not ready when timeoutMs have passed is recorded as it is and closed
    // (WM_CLOSE), so that a test never waits for a fixed time nor answers what it saw first.
    // beforeAnswer, when given, runs on the watcher's thread with each box once its texts
    // are recorded, just before the button is pressed (the demo takes its screenshots there).
    explicit DialogWatcher(std::string caption, std::string button = "OK", DWORD timeoutMs = 10000,
                           std::size_t limit = 1,
                           std::function<void(HWND dialog)> beforeAnswer = nullptr);
    // Stops watching and waits for the thread.
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // A "Static" text a box must show before it is answered: the text the test checks.
    // Call it before the code that shows the box.
    void expectText(std::string text);

    // Waits until count dialogs were answered or the timeout passed, pumping the calling
    // thread's messages meanwhile; true when count were answered.
    bool waitFor(std::size_t count = 1);
    std::vector<SeenDialog> seen() const;

private:
    static DWORD WINAPI Run(void* self);
    void watch();
    HWND findDialog(const std::vector<HWND>& answered) const;
    HWND findButton(HWND dialog) const;
    bool showsExpectedTexts(HWND dialog) const;
    SeenDialog answer(HWND dialog);

    std::string caption_;
    std::string button_;
    std::size_t limit_;
    std::function<void(HWND dialog)> beforeAnswer_;
    ULONGLONG deadline_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<SeenDialog> seen_;
    std::vector<std::string> expectedTexts_;
    HANDLE running_ = nullptr;  // set once the thread runs our code
    HANDLE thread_ = nullptr;
};

// Shift-JIS (code page 932) bytes as UTF-8, for readable test messages and demo output.
std::string SjisToUtf8(const std::string& sjis);
