// Menus as the host builds them and a user sees them: items read back by position, labels
// in Shift-JIS as GetMenuStringA gives them.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct MenuEntry {
    std::string label;      // Shift-JIS, as GetMenuStringA gives it
    UINT id = 0;            // command number; 0 for submenus, separators and message items
    bool checked = false;
    bool grayed = false;
    bool separator = false;
    HMENU submenu = nullptr;
};

// The entries of one menu level.
std::vector<MenuEntry> MenuItems(HMENU menu);
// Every label of a menu, depth first; a submenu's items follow its own label, prefixed
// with the submenu's label and ">" ("POPFile訂正[spam]>ham").
std::vector<std::string> MenuLabelTree(HMENU menu);
// The first entry labelled label anywhere in the menu, depth first.
std::optional<MenuEntry> FindMenuItem(HMENU menu, const std::string& label);

// A menu the host built and handed to the plug-in's menu entry point, owned until destroyed.
class BuiltMenu {
public:
    BuiltMenu(HMENU menu, HWND window, int menuId);
    ~BuiltMenu();
    BuiltMenu(BuiltMenu&& other) noexcept;
    BuiltMenu& operator=(BuiltMenu&&) = delete;
    BuiltMenu(const BuiltMenu&) = delete;
    BuiltMenu& operator=(const BuiltMenu&) = delete;

    HMENU handle() const { return menu_; }
    HWND window() const { return window_; }     // the window commands are sent to
    int menuId() const { return menuId_; }      // 102, 201, 202 ...
    int initResult() const { return initResult_; }  // what the plug-in's entry point returned
    // MenuLabelTree before the plug-in saw the menu, and now.
    const std::vector<std::string>& labelsBeforePlugin() const { return before_; }
    std::vector<std::string> labels() const { return MenuLabelTree(menu_); }
    std::optional<MenuEntry> find(const std::string& label) const { return FindMenuItem(menu_, label); }

private:
    friend class ReplacementHost;
    HMENU menu_;
    HWND window_;
    int menuId_;
    int initResult_ = 0;
    std::vector<std::string> before_;
};

// A popup menu holding plain string items (label, command number), in order.
HMENU PopupWithItems(std::initializer_list<std::pair<const char*, UINT>> items);

// --- A popup menu on screen (TrackPopupMenu), seen from a thread other than its own.
// The visible popup menu window ("#32768") of this process, once it shows a menu; null when
// none appeared within timeoutMs.
HWND WaitForShownPopupMenu(DWORD timeoutMs);
// The entries of the menu the popup window shows.
std::vector<MenuEntry> ShownPopupMenuItems(HWND menuWindow);
// Chooses the item at position with the keyboard, as a user would (arrow keys, then Enter);
// the menu then sends its owner WM_COMMAND with the item's number.
void ChooseShownPopupMenuItem(HWND menuWindow, int position);
// Closes the popup without a choice (Escape).
void DismissShownPopupMenu(HWND menuWindow);
