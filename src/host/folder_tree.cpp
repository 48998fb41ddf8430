#include "host/folder_tree.h"

#include "mailbox/new_mail_tally.h"
#include "base/sjis.h"

namespace {
// The children the walk goes through below parent: the root item stands for its first child,
// the account, whose children are the top-level folders.
FolderTreeItem FirstFolderBelow(FolderTree& tree, FolderTreeItem parent, bool& parentIsRoot)
{
    FolderTreeItem child = tree.firstChild(parent);
    parentIsRoot = parent == tree.rootItem();
    return child;
}
}  // namespace

std::vector<std::string> SplitFolderPath(std::string_view displayPath)
{
    std::vector<std::string> components;
    for (;;) {
        const std::size_t separator = FindSjisChar(displayPath, '\\');
        if (separator == std::string_view::npos) {
            components.emplace_back(displayPath);
            return components;
        }
        components.emplace_back(displayPath.substr(0, separator));
        displayPath.remove_prefix(separator + 1);
    }
}

bool BoldPath(FolderTree& tree, FolderTreeItem parent, const std::string* components,
              std::size_t count)
{
    if (count == 0) {
        return false;
    }
    bool parentIsRoot = false;
    FolderTreeItem child = FirstFolderBelow(tree, parent, parentIsRoot);
    if (parentIsRoot) {
        return child != nullptr && BoldPath(tree, child, components, count);
    }
    for (; child != nullptr; child = tree.nextSibling(child)) {
        if (tree.itemText(child) != components[0]) {
            continue;
        }
        if (count == 1 || BoldPath(tree, child, components + 1, count - 1)) {
            tree.setBold(child, true);
        }
        return true;
    }
    return false;
}

bool ApplyTally(FolderTree& tree, FolderTreeItem parent, const AccountTally& tally,
                const std::string& prefix)
{
    bool parentIsRoot = false;
    FolderTreeItem child = FirstFolderBelow(tree, parent, parentIsRoot);
    if (parentIsRoot) {
        return child != nullptr && ApplyTally(tree, child, tally, prefix);
    }
    bool anyBold = false;
    for (; child != nullptr; child = tree.nextSibling(child)) {
        const std::string path = prefix.empty() ? tree.itemText(child)
                                                : prefix + "\\" + tree.itemText(child);
        const bool below = ApplyTally(tree, child, tally, path);
        const FolderTally* folder = tally.findFolder(path);
        const bool bold = below || (folder != nullptr && folder->count > 0);
        tree.setBold(child, bold);
        anyBold = anyBold || bold;
    }
    return anyBold;
}

void MarkFolderPathBold(FolderTree& tree, std::string_view displayPath)
{
    FolderTreeItem root = tree.rootItem();
    if (root == nullptr) {
        return;
    }
    const std::vector<std::string> components = SplitFolderPath(displayPath);
    BoldPath(tree, root, components.data(), components.size());
}

void ApplyTallyToTree(FolderTree& tree, const AccountTally& tally)
{
    FolderTreeItem root = tree.rootItem();
    if (root != nullptr) {
        ApplyTally(tree, root, tally, std::string());
    }
}
