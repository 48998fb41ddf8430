// The one way the plug-in runs a dialog: a template from the plug-in's own module, shown
// modally and bound to an object. The shared dialog procedure stores the object in the
// dialog's user data at WM_INITDIALOG and hands every later message to it; messages that
// arrive before that (WM_SETFONT) get the default handling.
//
// Ending: the caption's close box ends the dialog with 0 unless onClose says otherwise;
// buttons end it through end(). Escape and Enter reach onCommand as IDCANCEL and IDOK, as the
// dialog manager sends them, so a dialog without those ids ignores both keys.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "base/resource_ids.h"

class ModalDialog {
public:
    ModalDialog() = default;
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Runs dialog template `templateId` of `module`, owned by `owner` (may be null); returns
    // the result given to end(), or -1 when the dialog could not be created.
    INT_PTR run(HINSTANCE module, int templateId, HWND owner);

protected:
    // The dialog window while it runs; null before and after.
    HWND window() const { return window_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }
    HINSTANCE module() const { return module_; }
    void end(INT_PTR result);

    // WM_INITDIALOG. Returns TRUE to let the system focus the first control.
    virtual BOOL onInit() { return TRUE; }
    // WM_COMMAND: true when handled.
    virtual bool onCommand(int /*id*/, int /*notifyCode*/, HWND /*control*/) { return false; }
    // WM_NOTIFY: true when handled; result becomes the message's result.
    virtual bool onNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // WM_CLOSE (the caption's close box).
    virtual void onClose() { end(0); }
    // Any other message: true when handled; result is then what the dialog procedure
    // returns (TRUE for most messages, see DialogProc).
    virtual bool onMessage(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
    // Once, when the dialog window is destroyed (every way of ending).
    virtual void onDestroy() {}

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HINSTANCE module_ = nullptr;
};

// A box whose one button is "ｷｬﾝｾﾙ" (IDC_CANCEL_BUTTON), which ends it with that id; Escape
// and Enter do nothing.
class CancelButtonBox : public ModalDialog {
protected:
    bool onCommand(int id, int, HWND) override
    {
        if (id == IDC_CANCEL_BUTTON) {
            end(IDC_CANCEL_BUTTON);
            return true;
        }
        return false;
    }
};

// A read-only text that can be copied and a close button (IDCANCEL, so Escape closes too).
// The button, not the text, takes the focus: the text would show all selected.
class TextReportBox : public ModalDialog {
public:
    TextReportBox(int textControl, std::string text)
        : textControl_(textControl), text_(std::move(text))
    {
    }

protected:
    void setText(const std::string& text) { SetWindowTextA(control(textControl_), text.c_str()); }

    BOOL onInit() override
    {
        setText(text_);
        SetFocus(control(IDCANCEL));
        return FALSE;
    }

    bool onCommand(int id, int, HWND) override
    {
        if (id == IDCANCEL) {
            end(IDCANCEL);
            return true;
        }
        return false;
    }

private:
    const int textControl_;
    const std::string text_;
};
