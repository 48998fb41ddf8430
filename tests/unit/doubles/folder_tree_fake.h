// FolderTree for native tests: a tree of texts built by hand ("Corvane32", its first child the
// account, folders below), with each item's bold state and a count of text reads.
#pragma once

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "host/folder_tree.h"

class FolderTreeFake : public FolderTree {
public:
    struct Item {
        std::string text;
        Item* parent = nullptr;
        std::vector<Item*> children;
        bool bold = false;
    };

    explicit FolderTreeFake(const std::string& account = "Home") : account_(add(&root_, account)) {}

    Item* account() { return account_; }
    // A new last child of parent.
    Item* add(Item* parent, const std::string& text)
    {
        Item* item = &items_.emplace_back(Item{text, parent, {}, false});
        parent->children.push_back(item);
        return item;
    }
    // The texts of the bold items, root first, then in creation order.
    std::vector<std::string> boldTexts() const
    {
        std::vector<std::string> texts;
        if (root_.bold) {
            texts.push_back(root_.text);
        }
        for (const Item& item : items_) {
            if (item.bold) {
                texts.push_back(item.text);
            }
        }
        return texts;
    }

    FolderTreeItem rootItem() override { return &root_; }
    FolderTreeItem firstChild(FolderTreeItem item) override
    {
        const std::vector<Item*>& children = self(item)->children;
        return children.empty() ? nullptr : children.front();
    }
    FolderTreeItem nextSibling(FolderTreeItem item) override
    {
        const Item* me = self(item);
        if (me->parent == nullptr) {
            return nullptr;
        }
        const std::vector<Item*>& siblings = me->parent->children;
        const auto at = std::find(siblings.begin(), siblings.end(), me);
        return at + 1 < siblings.end() ? *(at + 1) : nullptr;
    }
    std::string itemText(FolderTreeItem item) override
    {
        ++textReads;
        return self(item)->text;
    }
    void setBold(FolderTreeItem item, bool bold) override { self(item)->bold = bold; }

    int textReads = 0;

private:
    // Every item handed out is one of ours, none of them const.
    static Item* self(FolderTreeItem item) { return const_cast<Item*>(static_cast<const Item*>(item)); }

    Item root_{"Corvane32", nullptr, {}, false};
    std::deque<Item> items_;  // stable addresses
    Item* account_;
};
