// The host's folder tree control, walked through the FolderTree interface.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "host/folder_tree.h"

class FolderTreeView : public FolderTree {
public:
    // Reads the tree's root item.
    explicit FolderTreeView(HWND treeWindow);

    HWND treeWindow() const { return treeWindow_; }
    // Reads the root item again, for a tree the host may have rebuilt.
    void rereadRoot();

    FolderTreeItem rootItem() override { return rootItem_; }
    FolderTreeItem firstChild(FolderTreeItem item) override;
    FolderTreeItem nextSibling(FolderTreeItem item) override;
    // At most 254 bytes: the host's longer texts are cut.
    std::string itemText(FolderTreeItem item) override;
    void setBold(FolderTreeItem item, bool bold) override;

private:
    HWND treeWindow_;
    HTREEITEM rootItem_ = nullptr;
};
