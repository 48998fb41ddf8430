// MenuWriter over a Win32 menu: every item is inserted after the menu's last item.
#pragma once

#include <windows.h>

#include "host/menu_writer.h"

class Win32MenuWriter : public MenuWriter {
public:
    explicit Win32MenuWriter(HMENU menu) : menu_(menu) {}

    std::unique_ptr<MenuWriter> appendSubmenu(const std::string& label) override;
    bool appendCommand(const std::string& text, unsigned command) override;
    bool appendRadioItem(const std::string& text, bool checked, unsigned command) override;
    bool appendSeparator() override;
    bool appendMessage(const std::string& text) override;

private:
    bool append(MENUITEMINFOA& item);

    HMENU menu_;
};
