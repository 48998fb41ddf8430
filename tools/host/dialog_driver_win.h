// Drives dialogs from a second thread as a user would: finds a dialog by its caption once
// its controls exist, fills fields, picks items, presses buttons and keys, answers message
// boxes, and reads what the dialog shows. Meant for the plug-in's own modal dialogs, which
// run on the user-interface thread inside an entry point (APCSetup) while this thread acts.
//
// Reads and field changes are sent, so they are done when the call returns. A press is sent
// without waiting for its handling: it takes effect before anything this thread sends after
// it, yet a press that opens a further modal box does not block the driver. Keys and clicks
// are posted, as input arrives; wait for their effect. Every wait has a deadline; a step
// that does not see what it waits for throws DialogDriver::StepFailed.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

class DialogDriver {
public:
    struct StepFailed : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    // An item of an extended combo box: its text and the image index it holds.
    struct ImageItem {
        std::string text;
        int image = 0;
    };

    explicit DialogDriver(DWORD stepTimeoutMs = 10000) : stepTimeoutMs_(stepTimeoutMs) {}

    // --- Dialogs and message boxes of this process.
    // The visible dialog titled caption once its control controlId exists and its thread
    // is back in its message loop.
    HWND waitForDialog(const std::string& caption, int controlId) const;
    // Waits until the dialog window is gone.
    void waitUntilClosed(HWND dialog) const;
    // Waits for the message box titled caption and returns its text, then presses buttonId
    // (IDOK, IDYES, IDNO) and waits until it is gone.
    std::string answerMessageBox(const std::string& caption, int buttonId) const;
    // Every visible dialog of this process; used to clean up after a failed step.
    static std::vector<HWND> openDialogs();

    // --- Actions.
    void press(HWND dialog, int buttonId) const;
    // Presses a button that ends the dialog and waits until the dialog is gone.
    void closeWith(HWND dialog, int buttonId) const;
    // A key press (WM_KEYDOWN and WM_KEYUP) to the control that has the focus.
    void pressKey(HWND dialog, UINT virtualKey) const;
    // The caption's close box.
    void closeFromCaption(HWND dialog) const;
    // Returns once the dialog's thread has handled every key and click posted to it before:
    // a test can then check that a key did nothing.
    void settle(HWND dialog) const;
    void setText(HWND dialog, int controlId, const std::string& text) const;
    void selectComboItem(HWND dialog, int controlId, int index) const;
    void setChecked(HWND dialog, int controlId, bool checked) const;
    // Selects and focuses a row of a list view, as a click on it does.
    void selectListRow(HWND dialog, int controlId, int row) const;
    // Selects the row, then double-clicks on it.
    void doubleClickListRow(HWND dialog, int controlId, int row) const;

    // --- What the dialog shows. Texts are returned whole, however long.
    std::string text(HWND dialog, int controlId) const;
    std::vector<std::string> comboItems(HWND dialog, int controlId) const;
    int comboSelection(HWND dialog, int controlId) const;
    std::vector<ImageItem> imageComboItems(HWND dialog, int controlId) const;
    // Images in the extended combo box's image list; -1 when it has none.
    int imageComboImageCount(HWND dialog, int controlId) const;
    bool isChecked(HWND dialog, int controlId) const;
    // The list view's rows, each with the texts of every column.
    std::vector<std::vector<std::string>> listRows(HWND dialog, int controlId) const;
    int selectedListRow(HWND dialog, int controlId) const;

    // The window's class name and its whole text.
    static std::string classOf(HWND window);
    static std::string textOf(HWND window);

private:
    HWND item(HWND dialog, int controlId) const;
    template <typename Condition>
    bool waitUntil(Condition condition) const;

    DWORD stepTimeoutMs_;
};
