#include "host_menu_win.h"

namespace {

std::string MenuLabel(HMENU menu, int position)
{
    char label[512] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), label, sizeof label, MF_BYPOSITION);
    return label;
}

void CollectLabels(HMENU menu, const std::string& prefix, std::vector<std::string>& out)
{
    for (const MenuEntry& entry : MenuItems(menu)) {
        if (entry.separator) {
            continue;
        }
        out.push_back(prefix + entry.label);
        if (entry.submenu != nullptr) {
            CollectLabels(entry.submenu, prefix + entry.label + ">", out);
        }
    }
}

}  // namespace

HMENU PopupWithItems(std::initializer_list<std::pair<const char*, UINT>> items)
{
    HMENU popup = CreatePopupMenu();
    for (const auto& [label, id] : items) {
        AppendMenuA(popup, MF_STRING, id, label);
    }
    return popup;
}

std::vector<MenuEntry> MenuItems(HMENU menu)
{
    std::vector<MenuEntry> entries;
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) {
            continue;
        }
        MenuEntry entry;
        entry.separator = (info.fType & MFT_SEPARATOR) != 0;
        entry.label = entry.separator ? std::string() : MenuLabel(menu, position);
        entry.submenu = info.hSubMenu;
        entry.id = info.hSubMenu != nullptr ? 0 : info.wID;
        entry.checked = (info.fState & MFS_CHECKED) != 0;
        entry.grayed = (info.fState & MFS_GRAYED) != 0;
        entries.push_back(entry);
    }
    return entries;
}

std::vector<std::string> MenuLabelTree(HMENU menu)
{
    std::vector<std::string> labels;
    CollectLabels(menu, std::string(), labels);
    return labels;
}

std::optional<MenuEntry> FindMenuItem(HMENU menu, const std::string& label)
{
    for (const MenuEntry& entry : MenuItems(menu)) {
        if (!entry.separator && entry.label == label) {
            return entry;
        }
        if (entry.submenu != nullptr) {
            if (std::optional<MenuEntry> found = FindMenuItem(entry.submenu, label)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

BuiltMenu::BuiltMenu(HMENU menu, HWND window, int menuId)
    : menu_(menu), window_(window), menuId_(menuId), before_(MenuLabelTree(menu))
{
}

BuiltMenu::~BuiltMenu()
{
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
    }
}

BuiltMenu::BuiltMenu(BuiltMenu&& other) noexcept
    : menu_(other.menu_), window_(other.window_), menuId_(other.menuId_),
      initResult_(other.initResult_), before_(std::move(other.before_))
{
    other.menu_ = nullptr;
}

HWND WaitForShownPopupMenu(DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        for (HWND window = FindWindowExA(nullptr, nullptr, "#32768", nullptr); window != nullptr;
             window = FindWindowExA(nullptr, window, "#32768", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                SendMessageA(window, MN_GETHMENU, 0, 0) != 0) {
                return window;
            }
        }
        if (GetTickCount64() >= deadline) {
            return nullptr;
        }
        Sleep(20);
    }
}

std::vector<MenuEntry> ShownPopupMenuItems(HWND menuWindow)
{
    return MenuItems(reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0)));
}

void ChooseShownPopupMenuItem(HWND menuWindow, int position)
{
    // The menu's modal loop takes the keys of its thread, whatever window they are posted to.
    for (int step = 0; step <= position; ++step) {
        PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    }
    PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
}

void DismissShownPopupMenu(HWND menuWindow)
{
    PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
}
