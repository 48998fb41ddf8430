#include "plugin/receive_summary_win.h"

#include "plugin/process_win.h"
#include "plugin/receive_summary.h"
#include "host/icon_alert_win.h"

namespace {

HWND AsWindow(HostWindow window)
{
    return static_cast<HWND>(window);
}

class Win32HostActivity : public HostActivity {
public:
    bool receiveCommandActive(HostWindow window) override
    {
        return HostCommandActive(AsWindow(window));
    }

    bool handleOneMessage() override
    {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(1);
            return true;
        }
        if (message.message == WM_QUIT) {
            // Leave it for the host's own loop, which ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        return true;
    }
};

class Win32SummarySignals : public SummarySignals {
public:
    explicit Win32SummarySignals(IconAlertState& iconAlert) : iconAlert_(iconAlert) {}

    void beep() override { MessageBeep(MB_ICONEXCLAMATION); }

    void showMessageBox(HostWindow owner, const std::string& text) override
    {
        MessageBoxA(AsWindow(owner), text.c_str(), kSummaryCaption,
                    MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
    }

    void startIconAlert(HostWindow window) override
    {
        StartIconAlert(iconAlert_, AsWindow(window));
    }

    void postCommand(HostWindow window, uint32_t commandId) override
    {
        PostMessageA(AsWindow(window), WM_COMMAND, static_cast<WPARAM>(commandId), 0);
    }

private:
    IconAlertState& iconAlert_;
};

}  // namespace

void TW_STDCALL ReceiveSummaryCommand(HostWindow window, intptr_t)
{
    try {
        PluginProcess& process = ThePluginProcess();
        Win32HostActivity activity;
        Win32SummarySignals signals(process.iconAlert);
        const SummaryServices services{activity, process.notificationWindow, signals};
        RunReceiveSummary(process.state, process.platform.codePage, services, window);
    } catch (...) {
    }
}

void EndRetrievalOfFrame(HWND frame)
{
    PluginProcess& process = ThePluginProcess();
    Win32SummarySignals signals(process.iconAlert);
    EndRetrieval(process.state, process.platform, signals, frame);
}
