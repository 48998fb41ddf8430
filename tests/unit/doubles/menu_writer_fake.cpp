#include "doubles/menu_writer_fake.h"

std::unique_ptr<MenuWriter> MenuWriterFake::appendSubmenu(const std::string& label)
{
    if (!append({MenuItemRecord::Kind::Submenu, label, false, 0, {}})) {
        return nullptr;
    }
    // The submenu's writer fills the record just appended; the record stays in place
    // because nothing is appended to this menu while the submenu is being filled.
    return std::unique_ptr<MenuWriter>(new MenuWriterFake(&items_->back().submenu));
}

bool MenuWriterFake::appendCommand(const std::string& text, unsigned command)
{
    return append({MenuItemRecord::Kind::Command, text, false, command, {}});
}

bool MenuWriterFake::appendRadioItem(const std::string& text, bool checked, unsigned command)
{
    return append({MenuItemRecord::Kind::Radio, text, checked, command, {}});
}

bool MenuWriterFake::appendSeparator()
{
    return append({MenuItemRecord::Kind::Separator, "", false, 0, {}});
}

bool MenuWriterFake::appendMessage(const std::string& text)
{
    return append({MenuItemRecord::Kind::Message, text, false, 0, {}});
}

bool MenuWriterFake::append(MenuItemRecord item)
{
    if (failAppends) {
        return false;
    }
    items_->push_back(std::move(item));
    return true;
}
