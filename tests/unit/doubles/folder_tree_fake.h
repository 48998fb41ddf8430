// FolderTree for native tests: a tree of texts built by hand, with the bold state of every
// item and the number of times each text was read.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host/folder_tree.h"

class FolderTreeFake : public FolderTree {
public:
    struct Item {
        std::string text;
        const Item* parent = nullptr;
        std::vector<Item*> children;
        bool bold = false;
        int textReads = 0;
    };

    // The root item "Corvane32" with its first child, the account item titled account.
    explicit FolderTreeFake(const std::string& account = "Home")
    {
        root_ = &items_.emplace_back(Item{"Corvane32"});
        account_ = add(root_, account);
    }

    Item* root() { return root_; }
    Item* account() { return account_; }
    // A new last child of parent.
    Item* add(Item* parent, const std::string& text)
    {
        Item* item = &items_.emplace_back(Item{text, parent});
        parent->children.push_back(item);
        return item;
    }
    // The texts of the bold items, in creation order.
    std::vector<std::string> boldTexts() const
    {
        std::vector<std::string> texts;
        for (const Item& item : items_) {
            if (item.bold) {
                texts.push_back(item.text);
            }
        }
        return texts;
    }
    int textReads() const
    {
        int reads = 0;
        for (const Item& item : items_) {
            reads += item.textReads;
        }
        return reads;
    }

    FolderTreeItem rootItem() override { return root_; }
    FolderTreeItem firstChild(FolderTreeItem item) override
    {
        const Item* parent = static_cast<const Item*>(item);
        return parent->children.empty() ? nullptr : parent->children.front();
    }
    FolderTreeItem nextSibling(FolderTreeItem item) override
    {
        const Item* self = static_cast<const Item*>(item);
        if (self->parent == nullptr) {
            return nullptr;
        }
        const std::vector<Item*>& siblings = self->parent->children;
        for (std::size_t i = 0; i + 1 < siblings.size(); ++i) {
            if (siblings[i] == self) {
                return siblings[i + 1];
            }
        }
        return nullptr;
    }
    std::string itemText(FolderTreeItem item) override
    {
        Item* self = mutableItem(item);
        ++self->textReads;
        return self->text;
    }
    void setBold(FolderTreeItem item, bool bold) override { mutableItem(item)->bold = bold; }

private:
    // Every item handed out lives in items_, which is not const.
    static Item* mutableItem(FolderTreeItem item)
    {
        return const_cast<Item*>(static_cast<const Item*>(item));
    }

    std::deque<Item> items_;  // stable addresses
    Item* root_ = nullptr;
    Item* account_ = nullptr;
};
