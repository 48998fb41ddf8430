#include "ui/notification_list_win.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "ui/notification_geometry.h"

namespace {
constexpr int kSmallestColumnBase = 100;
constexpr const char* kColumnTitles[4] = {"Buket", "From", "Subject", "body"};

void InitListViewClasses()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

int ClientWidth(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return client.right - client.left;
}

void SetSubItemText(HWND list, int item, int subItem, const std::string& text)
{
    LVITEMA data = {};
    data.iSubItem = subItem;
    data.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&data));
}

RECT ItemBounds(HWND list, int item)
{
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds));
    return bounds;
}

void SetUpColumns(HWND list, int clientWidth)
{
    InitListViewClasses();
    const LRESULT style = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style | LVS_EX_GRIDLINES);
    const std::array<int32_t, 4> widths =
        NotificationColumnWidths(clientWidth > kSmallestColumnBase ? clientWidth : kSmallestColumnBase);
    for (int column = 0; column < 4; ++column) {
        LVCOLUMNA data = {};
        data.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        data.fmt = LVCFMT_LEFT;
        data.cx = widths[static_cast<std::size_t>(column)];
        data.pszText = const_cast<char*>(kColumnTitles[column]);
        data.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&data));
    }
}
}  // namespace

HWND CreateNotificationList(HWND parent, HINSTANCE instance)
{
    InitListViewClasses();
    RECT client = {};
    GetClientRect(parent, &client);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                                    LVS_NOCOLUMNHEADER,
                                0, 0, client.right, client.bottom, parent, nullptr, instance, nullptr);
    if (list != nullptr) {
        SetUpColumns(list, ClientWidth(parent));
    }
    return list;
}

void ResizeNotificationList(HWND list, int width, int height)
{
    MoveWindow(list, 0, 0, width, height, TRUE);
    const std::array<int32_t, 4> widths = NotificationColumnWidths(width);
    for (int column = 0; column < 4; ++column) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                     widths[static_cast<std::size_t>(column)]);
    }
}

void AppendNotificationRow(HWND list, int index, const NotificationRow& row)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(row.bucket.c_str());
    const int inserted =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (inserted >= 0) {
        SetSubItemText(list, inserted, 1, row.sender);
        SetSubItemText(list, inserted, 2, row.subject);
        SetSubItemText(list, inserted, 3, row.body);
    }
}

int NotificationRowsBottom(HWND list, int rowCount)
{
    const RECT first = ItemBounds(list, 0);
    const RECT last = ItemBounds(list, rowCount - 1);
    return last.bottom - first.top;
}

int NotificationListFrameHeight(HWND list)
{
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    RECT frame = {};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(style), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(list, GWL_EXSTYLE)));
    int height = frame.bottom - frame.top;
    if ((style & WS_HSCROLL) != 0) {
        height += GetSystemMetrics(SM_CYHSCROLL);
    }
    return height;
}
