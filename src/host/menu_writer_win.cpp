#include "host/menu_writer_win.h"

#include <vector>

namespace {
MENUITEMINFOA ItemInfo(UINT mask, UINT type)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = mask;
    item.fType = type;
    return item;
}

// The menu copies the text; the item only needs a writable pointer while it is inserted.
std::vector<char> TextBuffer(const std::string& text)
{
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}
}  // namespace

std::unique_ptr<MenuWriter> Win32MenuWriter::appendSubmenu(const std::string& label)
{
    HMENU submenu = CreatePopupMenu();
    if (submenu == nullptr) {
        return nullptr;
    }
    std::vector<char> text = TextBuffer(label);
    MENUITEMINFOA item = ItemInfo(MIIM_SUBMENU | MIIM_TYPE, MFT_STRING);
    item.hSubMenu = submenu;
    item.dwTypeData = text.data();
    if (!append(item)) {
        DestroyMenu(submenu);
        return nullptr;
    }
    return std::make_unique<Win32MenuWriter>(submenu);
}

bool Win32MenuWriter::appendCommand(const std::string& text, unsigned command)
{
    std::vector<char> buffer = TextBuffer(text);
    MENUITEMINFOA item = ItemInfo(MIIM_ID | MIIM_TYPE, MFT_STRING);
    item.wID = command;
    item.dwTypeData = buffer.data();
    return append(item);
}

bool Win32MenuWriter::appendRadioItem(const std::string& text, bool checked, unsigned command)
{
    std::vector<char> buffer = TextBuffer(text);
    MENUITEMINFOA item = ItemInfo(MIIM_STATE | MIIM_ID | MIIM_TYPE, MFT_RADIOCHECK);
    item.fState = checked ? MFS_CHECKED : 0;
    item.wID = command;
    item.dwTypeData = buffer.data();
    return append(item);
}

bool Win32MenuWriter::appendSeparator()
{
    MENUITEMINFOA item = ItemInfo(MIIM_TYPE, MFT_SEPARATOR);
    return append(item);
}

bool Win32MenuWriter::appendMessage(const std::string& text)
{
    std::vector<char> buffer = TextBuffer(text);
    MENUITEMINFOA item = ItemInfo(MIIM_TYPE, MFT_STRING);
    item.dwTypeData = buffer.data();
    return append(item);
}

bool Win32MenuWriter::append(MENUITEMINFOA& item)
{
    const int count = GetMenuItemCount(menu_);
    if (count < 0) {
        return false;
    }
    return InsertMenuItemA(menu_, static_cast<UINT>(count), TRUE, &item) != FALSE;
}
