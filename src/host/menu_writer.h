// Appends items to one of the host's menus. The Win32 implementation (menu_writer_win.cpp)
// inserts MENUITEMINFO items at the end of a menu; tests record what was appended.
#pragma once

#include <memory>
#include <string>

class MenuWriter {
public:
    virtual ~MenuWriter() = default;

    // An item with label that opens a new, empty submenu; returns a writer for that
    // submenu, or null when the item could not be added.
    virtual std::unique_ptr<MenuWriter> appendSubmenu(const std::string& label) = 0;

    // A text item carrying a host command number.
    virtual bool appendCommand(const std::string& text, unsigned command) = 0;

    // A radio-check item carrying a host command number, shown checked or not.
    virtual bool appendRadioItem(const std::string& text, bool checked, unsigned command) = 0;

    virtual bool appendSeparator() = 0;

    // A text-only item without command: a message to the user.
    virtual bool appendMessage(const std::string& text) = 0;
};
