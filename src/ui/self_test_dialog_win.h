// The link self-test's dialog (template 118, "Tarnwick 接続テスト"): the report, one line per
// check, in a read-only text that can be selected and copied, and "閉じる" (Escape too). It
// shows "確認中…" until the report is handed to it, from any thread, through a
// SelfTestDelivery; the checks themselves are the caller's.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

class SelfTestMailbox;

// Hands the report to the dialog from any thread. Copies share one dialog; once the dialog
// has ended, deliver does nothing, so a worker may outlive it.
class SelfTestDelivery {
public:
    explicit SelfTestDelivery(std::shared_ptr<SelfTestMailbox> mailbox);
    void deliver(const std::string& report) const;

private:
    std::shared_ptr<SelfTestMailbox> mailbox_;
};

// What the text shows while the checks run.
inline constexpr const char* kSelfTestWaitingText = "確認中…";

// Runs the dialog modally, owned by owner. start is called once, on this thread, as soon as
// the dialog is shown; it must leave the checks to another thread that ends with deliver.
// Returns once the user closed the dialog; -1 when it could not be shown.
INT_PTR ShowSelfTestDialog(HWND owner, HINSTANCE module,
                           const std::function<void(const SelfTestDelivery&)>& start);
