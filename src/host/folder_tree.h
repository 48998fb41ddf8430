// The bold decoration of the host's folder tree, decided over a small tree interface so that
// the walk is the same for the host's tree view and for a test's tree.
//
// The host's tree has a root item ("Corvane32" or the like) whose first child is the account;
// folders hang below that child by title, a folder group with its folders. A display path
// ("G\x") therefore names the items one level below the root's first child and down. Item
// texts are compared with path components byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct AccountTally;

// Shows a counted folder in bold in the folder trees of the host's windows; the window hooks
// implement it.
class FolderBoldMarker {
public:
    // Bolds displayPath in every tree that shows the account directory accountDir.
    virtual void markFolderBold(const std::string& accountDir, const std::string& displayPath) = 0;

protected:
    ~FolderBoldMarker() = default;
};

// An item of a folder tree; null for none.
using FolderTreeItem = const void*;

class FolderTree {
public:
    // The tree's first top-level item; null for an empty tree.
    virtual FolderTreeItem rootItem() = 0;
    // The first child of item, or null.
    virtual FolderTreeItem firstChild(FolderTreeItem item) = 0;
    // The next sibling of item, or null.
    virtual FolderTreeItem nextSibling(FolderTreeItem item) = 0;
    // The item's text as the tree hands it out (the host's tree cuts it at 254 bytes).
    virtual std::string itemText(FolderTreeItem item) = 0;
    virtual void setBold(FolderTreeItem item, bool bold) = 0;

protected:
    ~FolderTree() = default;
};

// The components of a display path, split at every backslash that is not the trail byte of
// a Shift-JIS character: n backslashes give n + 1 components, empty ones included.
std::vector<std::string> SplitFolderPath(std::string_view displayPath);

// Bolds the item the components name below parent, and each ancestor on the way whose next
// component was found in the tree. Below the root item the walk starts at the root's first
// child. Returns whether the first component was found among parent's children.
bool BoldPath(FolderTree& tree, FolderTreeItem parent, const std::string* components,
              std::size_t count);

// Sets every item below parent bold or plain: bold when the account tally counts mail (count
// above 0) for its display path (prefix, a backslash unless the prefix is empty, its text)
// or when anything below it is bold. Below the root item the walk starts at the root's first
// child. Returns whether any child of parent was set bold.
bool ApplyTally(FolderTree& tree, FolderTreeItem parent, const AccountTally& tally,
                const std::string& prefix);

// BoldPath from the tree's root with the components of displayPath. Nothing is cleared.
void MarkFolderPathBold(FolderTree& tree, std::string_view displayPath);

// ApplyTally from the tree's root with an empty prefix.
void ApplyTallyToTree(FolderTree& tree, const AccountTally& tally);
