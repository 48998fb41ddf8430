#include "ui/modal_dialog_win.h"

INT_PTR ModalDialog::run(HINSTANCE module, int templateId, HWND owner)
{
    module_ = module;
    return DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), owner, Procedure,
                           reinterpret_cast<LPARAM>(this));
}

void ModalDialog::end(INT_PTR result)
{
    if (window_ != nullptr) {
        EndDialog(window_, result);
    }
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    ModalDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->window_ = dialog;
    } else {
        self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    // The dialog runs inside the host's message loop: nothing may escape into it.
    try {
        return self->dispatch(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR ModalDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInit();
    case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE
                                                                                         : FALSE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!onNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
            return FALSE;
        }
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_CLOSE:
        onClose();
        return TRUE;
    case WM_DESTROY:
        onDestroy();
        SetWindowLongPtrA(window_, DWLP_USER, 0);
        window_ = nullptr;
        return TRUE;
    default: {
        INT_PTR result = 0;
        return onMessage(message, wParam, lParam, result) ? result : FALSE;
    }
    }
}
