#include "dialog_driver_win.h"

#include <commctrl.h>

namespace {

constexpr DWORD kPollMilliseconds = 20;
constexpr DWORD kReplyMilliseconds = 5000;
constexpr WPARAM kAllRows = static_cast<WPARAM>(-1);

bool OfThisProcess(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

// True once the window's thread has handled a message, i.e. is back in a message loop.
bool Responds(HWND window)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kReplyMilliseconds, &ignored) != 0;
}

HWND FindDialog(const std::string& caption)
{
    for (HWND dialog = FindWindowExA(nullptr, nullptr, "#32770", caption.c_str()); dialog != nullptr;
         dialog = FindWindowExA(nullptr, dialog, "#32770", caption.c_str())) {
        if (IsWindowVisible(dialog) && OfThisProcess(dialog)) {
            return dialog;
        }
    }
    return nullptr;
}

struct ChildList {
    std::vector<HWND> children;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM list)
{
    reinterpret_cast<ChildList*>(list)->children.push_back(child);
    return TRUE;
}

std::string FirstStaticText(HWND dialog)
{
    ChildList list;
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&list));
    for (HWND child : list.children) {
        const std::string text = DialogDriver::textOf(child);
        if (DialogDriver::classOf(child) == "Static" && !text.empty()) {
            return text;
        }
    }
    return std::string();
}

}  // namespace

std::string DialogDriver::classOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string DialogDriver::textOf(HWND window)
{
    // The window's thread may set a longer text between the length and the copy: copy again
    // while the copy filled the buffer and the text has grown past it.
    for (;;) {
        const int length = GetWindowTextLengthA(window);
        std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
        if (copied <= 0) {
            return "";
        }
        if (copied < length || GetWindowTextLengthA(window) <= copied) {
            text.resize(static_cast<std::size_t>(copied));
            return text;
        }
    }
}

template <typename Condition>
bool DialogDriver::waitUntil(Condition condition) const
{
    const ULONGLONG deadline = GetTickCount64() + stepTimeoutMs_;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(kPollMilliseconds);
    }
}

HWND DialogDriver::item(HWND dialog, int controlId) const
{
    HWND control = GetDlgItem(dialog, controlId);
    if (control == nullptr) {
        throw StepFailed("no control " + std::to_string(controlId) + " in \"" + textOf(dialog) + "\"");
    }
    return control;
}

HWND DialogDriver::waitForDialog(const std::string& caption, int controlId) const
{
    HWND found = nullptr;
    const bool ready = waitUntil([&] {
        found = FindDialog(caption);
        return found != nullptr && GetDlgItem(found, controlId) != nullptr && Responds(found);
    });
    if (!ready) {
        throw StepFailed("no dialog \"" + caption + "\" with control " + std::to_string(controlId));
    }
    return found;
}

void DialogDriver::waitUntilClosed(HWND dialog) const
{
    if (!waitUntil([&] { return !IsWindow(dialog); })) {
        throw StepFailed("dialog \"" + textOf(dialog) + "\" is still open");
    }
}

std::string DialogDriver::answerMessageBox(const std::string& caption, int buttonId) const
{
    HWND box = waitForDialog(caption, buttonId);
    const std::string text = FirstStaticText(box);
    closeWith(box, buttonId);
    return text;
}

std::vector<HWND> DialogDriver::openDialogs()
{
    std::vector<HWND> dialogs;
    for (HWND dialog = FindWindowExA(nullptr, nullptr, "#32770", nullptr); dialog != nullptr;
         dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) {
        if (IsWindowVisible(dialog) && OfThisProcess(dialog)) {
            dialogs.push_back(dialog);
        }
    }
    return dialogs;
}

void DialogDriver::press(HWND dialog, int buttonId) const
{
    // Sent without waiting: handled after what this thread sent before and before what it
    // sends next, yet a press that opens a modal box does not block this thread.
    SendNotifyMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                       reinterpret_cast<LPARAM>(item(dialog, buttonId)));
}

void DialogDriver::closeWith(HWND dialog, int buttonId) const
{
    press(dialog, buttonId);
    waitUntilClosed(dialog);
}

void DialogDriver::pressKey(HWND dialog, UINT virtualKey) const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND target = dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
        info.hwndFocus != nullptr && IsChild(dialog, info.hwndFocus)) {
        target = info.hwndFocus;
    }
    const UINT scanCode = MapVirtualKeyA(virtualKey, 0);
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scanCode << 16));
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scanCode << 16) | (3u << 30));
}

void DialogDriver::closeFromCaption(HWND dialog) const
{
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogDriver::settle(HWND dialog) const
{
    // The first round trip may be answered before the posted messages are taken from the
    // queue, the second only after the dialog's loop has dispatched them.
    Responds(dialog);
    Responds(dialog);
}

void DialogDriver::setText(HWND dialog, int controlId, const std::string& text) const
{
    SendMessageA(item(dialog, controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void DialogDriver::selectComboItem(HWND dialog, int controlId, int index) const
{
    SendMessageA(item(dialog, controlId), CB_SETCURSEL, index, 0);
}

void DialogDriver::setChecked(HWND dialog, int controlId, bool checked) const
{
    SendMessageA(item(dialog, controlId), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DialogDriver::selectListRow(HWND dialog, int controlId, int row) const
{
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(item(dialog, controlId), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

void DialogDriver::doubleClickListRow(HWND dialog, int controlId, int row) const
{
    selectListRow(dialog, controlId, row);
    HWND list = item(dialog, controlId);
    RECT bounds = {};
    bounds.left = LVIR_LABEL;
    if (!SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds))) {
        throw StepFailed("no row " + std::to_string(row) + " to double-click");
    }
    const LPARAM point = MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
}

std::string DialogDriver::text(HWND dialog, int controlId) const
{
    return textOf(item(dialog, controlId));
}

std::vector<std::string> DialogDriver::comboItems(HWND dialog, int controlId) const
{
    HWND combo = item(dialog, controlId);
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
        std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        const LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        items.push_back(text);
    }
    return items;
}

int DialogDriver::comboSelection(HWND dialog, int controlId) const
{
    return static_cast<int>(SendMessageA(item(dialog, controlId), CB_GETCURSEL, 0, 0));
}

std::vector<DialogDriver::ImageItem> DialogDriver::imageComboItems(HWND dialog, int controlId) const
{
    HWND combo = item(dialog, controlId);
    std::vector<ImageItem> items;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[512] = {};
        COMBOBOXEXITEMA entry = {};
        entry.mask = CBEIF_TEXT | CBEIF_IMAGE;
        entry.iItem = i;
        entry.pszText = text;
        entry.cchTextMax = sizeof text;
        SendMessageA(combo, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
        items.push_back({text, entry.iImage});
    }
    return items;
}

int DialogDriver::imageComboImageCount(HWND dialog, int controlId) const
{
    const auto images = reinterpret_cast<HIMAGELIST>(
        SendMessageA(item(dialog, controlId), CBEM_GETIMAGELIST, 0, 0));
    return images != nullptr ? ImageList_GetImageCount(images) : -1;
}

bool DialogDriver::isChecked(HWND dialog, int controlId) const
{
    return SendMessageA(item(dialog, controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::vector<std::string>> DialogDriver::listRows(HWND dialog, int controlId) const
{
    HWND list = item(dialog, controlId);
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    std::vector<std::vector<std::string>> rows;
    const LRESULT count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        std::vector<std::string> texts;
        for (int column = 0; column < columns; ++column) {
            std::string text(2048, '\0');
            LVITEMA entry = {};
            entry.iSubItem = column;
            entry.pszText = text.data();
            entry.cchTextMax = static_cast<int>(text.size());
            const LRESULT copied = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&entry));
            text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
            texts.push_back(text);
        }
        rows.push_back(texts);
    }
    return rows;
}

int DialogDriver::selectedListRow(HWND dialog, int controlId) const
{
    return static_cast<int>(SendMessageA(item(dialog, controlId), LVM_GETNEXTITEM, kAllRows,
                                         MAKELPARAM(LVNI_SELECTED, 0)));
}
