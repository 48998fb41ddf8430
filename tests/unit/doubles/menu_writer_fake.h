// MenuWriter for native tests: builds a tree of the items appended, as the host's menu
// would hold them. failAppends makes every append fail (and add nothing).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/menu_writer.h"

struct MenuItemRecord {
    enum class Kind { Submenu, Command, Radio, Separator, Message };
    Kind kind;
    std::string text;
    bool checked = false;
    unsigned command = 0;
    std::vector<MenuItemRecord> submenu;  // Submenu only
};

class MenuWriterFake : public MenuWriter {
public:
    MenuWriterFake() : items_(&ownItems_) {}

    std::unique_ptr<MenuWriter> appendSubmenu(const std::string& label) override;
    bool appendCommand(const std::string& text, unsigned command) override;
    bool appendRadioItem(const std::string& text, bool checked, unsigned command) override;
    bool appendSeparator() override;
    bool appendMessage(const std::string& text) override;

    const std::vector<MenuItemRecord>& items() const { return *items_; }
    bool failAppends = false;

private:
    explicit MenuWriterFake(std::vector<MenuItemRecord>* items) : items_(items) {}
    bool append(MenuItemRecord item);

    std::vector<MenuItemRecord> ownItems_;
    std::vector<MenuItemRecord>* items_;
};
