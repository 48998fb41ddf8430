#include "ui/self_test_dialog_win.h"

#include "base/resource_ids.h"
#include "ui/modal_dialog_win.h"

// The report on its way from the worker to the dialog. The worker posts only while the
// dialog exists (the lock keeps the dialog from ending in between), so a late report never
// reaches another window that got the same handle.
class SelfTestMailbox {
public:
    static constexpr UINT kReportArrived = WM_APP + 1;

    explicit SelfTestMailbox(HWND dialog) : dialog_(dialog) { InitializeCriticalSection(&lock_); }
    ~SelfTestMailbox() { DeleteCriticalSection(&lock_); }
    SelfTestMailbox(const SelfTestMailbox&) = delete;
    SelfTestMailbox& operator=(const SelfTestMailbox&) = delete;

    void deliver(const std::string& report)
    {
        EnterCriticalSection(&lock_);
        if (dialog_ != nullptr) {
            report_ = report;
            PostMessageA(dialog_, kReportArrived, 0, 0);
        }
        LeaveCriticalSection(&lock_);
    }

    std::string report()
    {
        EnterCriticalSection(&lock_);
        std::string report = report_;
        LeaveCriticalSection(&lock_);
        return report;
    }

    // The dialog is ending: nothing more is posted to it.
    void close()
    {
        EnterCriticalSection(&lock_);
        dialog_ = nullptr;
        LeaveCriticalSection(&lock_);
    }

private:
    CRITICAL_SECTION lock_;
    HWND dialog_;
    std::string report_;
};

SelfTestDelivery::SelfTestDelivery(std::shared_ptr<SelfTestMailbox> mailbox)
    : mailbox_(std::move(mailbox))
{
}

void SelfTestDelivery::deliver(const std::string& report) const
{
    mailbox_->deliver(report);
}

namespace {

// Shows the waiting text until the report arrives.
class SelfTestDialog : public TextReportBox {
public:
    explicit SelfTestDialog(const std::function<void(const SelfTestDelivery&)>& start)
        : TextReportBox(IDC_SELF_TEST_REPORT, kSelfTestWaitingText), start_(start)
    {
    }

protected:
    BOOL onInit() override
    {
        TextReportBox::onInit();
        mailbox_ = std::make_shared<SelfTestMailbox>(window());
        start_(SelfTestDelivery(mailbox_));
        return FALSE;
    }

    bool onMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) override
    {
        if (message != SelfTestMailbox::kReportArrived || !mailbox_) {
            return false;
        }
        setText(mailbox_->report());
        result = TRUE;
        return true;
    }

    void onDestroy() override
    {
        if (mailbox_) {
            mailbox_->close();
        }
    }

private:
    const std::function<void(const SelfTestDelivery&)>& start_;
    std::shared_ptr<SelfTestMailbox> mailbox_;
};

}  // namespace

INT_PTR ShowSelfTestDialog(HWND owner, HINSTANCE module,
                           const std::function<void(const SelfTestDelivery&)>& start)
{
    SelfTestDialog dialog(start);
    return dialog.run(module, IDD_LINK_SELF_TEST, owner);
}
