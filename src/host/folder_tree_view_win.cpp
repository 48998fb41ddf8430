#include "host/folder_tree_view_win.h"

namespace {

// The host's tree hands out item texts through a buffer of this many bytes.
constexpr int kTreeTextBuffer = 255;

HTREEITEM TreeItem(FolderTreeItem item)
{
    return static_cast<HTREEITEM>(const_cast<void*>(item));
}

HTREEITEM NextTreeItem(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

FolderTreeView::FolderTreeView(HWND treeWindow) : treeWindow_(treeWindow)
{
    rereadRoot();
}

void FolderTreeView::rereadRoot()
{
    rootItem_ = NextTreeItem(treeWindow_, TVGN_ROOT, nullptr);
}

FolderTreeItem FolderTreeView::firstChild(FolderTreeItem item)
{
    return NextTreeItem(treeWindow_, TVGN_CHILD, TreeItem(item));
}

FolderTreeItem FolderTreeView::nextSibling(FolderTreeItem item)
{
    return NextTreeItem(treeWindow_, TVGN_NEXT, TreeItem(item));
}

std::string FolderTreeView::itemText(FolderTreeItem item)
{
    char text[kTreeTextBuffer] = {};
    TVITEMA data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = TreeItem(item);
    data.pszText = text;
    data.cchTextMax = kTreeTextBuffer;
    if (!SendMessageA(treeWindow_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) {
        return std::string();
    }
    text[kTreeTextBuffer - 1] = '\0';
    return text;
}

void FolderTreeView::setBold(FolderTreeItem item, bool bold)
{
    TVITEMA data = {};
    data.mask = TVIF_STATE;
    data.hItem = TreeItem(item);
    data.state = bold ? TVIS_BOLD : 0;
    data.stateMask = TVIS_BOLD;
    SendMessageA(treeWindow_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}
