#include "ui/dialog_controls_win.h"

#include <commctrl.h>


namespace {
constexpr const char* kConfirmCaption = "確認";
constexpr const char* kErrorCaption = "エラー";

// List-view items take a writable text pointer even where they only read it.
char* ItemText(const std::string& text)
{
    return const_cast<char*>(text.c_str());
}
}  // namespace

void RegisterDialogControlClasses()
{
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES;
    InitCommonControlsEx(&classes);
}

void SetUpReportList(HWND list, const std::vector<ListColumn>& columns)
{
    const LRESULT style = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style | LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[i].title);
        column.cx = columns[i].width;
        column.iSubItem = static_cast<int>(i);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void InsertListRow(HWND list, int row, const std::vector<std::string>& texts)
{
    if (texts.empty()) {
        return;
    }
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = ItemText(texts[0]);
    const LRESULT inserted = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (inserted >= 0) {
        SetListRowTexts(list, static_cast<int>(inserted), texts);
    }
}

void SetListRowTexts(HWND list, int row, const std::vector<std::string>& texts)
{
    for (std::size_t column = 0; column < texts.size(); ++column) {
        LVITEMA item = {};
        item.iSubItem = static_cast<int>(column);
        item.pszText = ItemText(texts[column]);
        SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
}

void DeleteListRow(HWND list, int row)
{
    SendMessageA(list, LVM_DELETEITEM, row, 0);
}

int SelectedListRow(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         MAKELPARAM(LVNI_SELECTED, 0)));
}

void SelectListRow(HWND list, int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void AddComboItems(HWND combo, const std::vector<std::string>& items)
{
    for (const std::string& text : items) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

int32_t ComboSelection(HWND combo, int32_t fallback)
{
    const LRESULT selection = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? fallback : static_cast<int32_t>(selection);
}

std::string ControlText(HWND control)
{
    const int length = GetWindowTextLengthA(control);
    if (length <= 0) {
        return std::string();
    }
    // The reported length may exceed the text (double-byte conversions): trim to what came.
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

bool ConfirmDelete(HWND owner, const std::string& question)
{
    return MessageBoxA(owner, question.c_str(), kConfirmCaption, MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

void ShowCheckFailures(HWND owner, const std::string& messages)
{
    MessageBoxA(owner, messages.c_str(), kErrorCaption, MB_OK | MB_ICONINFORMATION);
}
