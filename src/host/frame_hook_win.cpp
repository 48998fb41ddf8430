#include "host/frame_hook_win.h"

#include <vector>

#include "core/process_win.h"
#include "host/folder_catalogue.h"
#include "host/icon_alert_win.h"
#include "host/toolbar_commands_win.h"
#include "ui/resource_ids.h"

namespace {

constexpr const char* kFolderPaneClass = "AfxMDIFrame42s";
constexpr const char* kDialogClass = "#32770";
constexpr const char* kErrorBoxTitle = "エラー";
constexpr const char* kPasswordPromptText = "パスワードを入力してください";
constexpr const char* kOkLabel = "OK";
constexpr const char* kCancelLabel = "キャンセル";
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

// Host timer callback, parameter: the hooked window. Keeps running for the hook's life.
int TW_STDCALL AutoDismissTimer(HostWindow, intptr_t window)
{
    try {
        AutoDismiss(reinterpret_cast<HWND>(window));
    } catch (...) {
    }
    return 1;
}

// Whether the host's command 32835 is grayed; a host without the command counts as grayed.
bool ReceiveCommandGrayed(HWND window)
{
    return (HostReceiveCommandState(window).value_or(~0u) & MF_GRAYED) != 0;
}

void PressButton(HWND box, HWND button)
{
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(LOWORD(GetDlgCtrlID(button)), 0), 0);
}

// One walk over the top-level dialogs titled title (any title when null) that window owns:
// the button labelled label is pressed in each that shows it and, unless text is null, a
// "Static" text equal to text. False when the pass is to end: the host's command is not
// grayed.
bool PressInOwnedBoxes(HWND window, const char* title, const char* text, const char* label)
{
    for (HWND box = FindWindowExA(nullptr, nullptr, kDialogClass, title); box != nullptr;
         box = FindWindowExA(nullptr, box, kDialogClass, title)) {
        if (GetParent(box) != window) {
            continue;
        }
        if (text != nullptr && FindWindowExA(box, nullptr, "Static", text) == nullptr) {
            continue;
        }
        HWND button = FindWindowExA(box, nullptr, "Button", label);
        if (button == nullptr) {
            continue;
        }
        if (!ReceiveCommandGrayed(window)) {
            return false;
        }
        PressButton(box, button);
    }
    return true;
}

// The hooked folder windows, as a list of handles: walks over the hooks look each up again,
// since a window (and its hook) may go away while the walk talks to the host's controls.
std::vector<HWND> HookedWindows()
{
    std::vector<HWND> windows;
    for (const CLSWinHook* hook : ProcessHookRegistry().hooks()) {
        windows.push_back(hook->window());
    }
    return windows;
}

FrameWinHook* FindFrameHook(HWND window)
{
    return dynamic_cast<FrameWinHook*>(FindHook(window));
}

std::string AccountOfWindow(const HostApi& host, HWND window)
{
    return HostText(host.APAGetAccount(window));
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

FrameWinHook::FrameWinHook(HWND window) : CLSWinHook(window)
{
    autoDismissTimer_ = ThePluginProcess().state.host.APASetTimer(
        kAutoDismissMilliseconds, AutoDismissTimer, reinterpret_cast<intptr_t>(window));
}

FrameWinHook::~FrameWinHook()
{
    // No timer may look at a window that is gone. While the library unloads, the host's
    // services are no longer called.
    const HostApi& host = ThePluginProcess().state.host;
    if (autoDismissTimer_ != 0 && host.resolved()) {
        host.APAKillTimer(autoDismissTimer_);
    }
    if (buttonPicture_ != nullptr) {
        DeleteObject(buttonPicture_);
    }
}

LRESULT FrameWinHook::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = false;
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        // Brought forward: only the Z order changes.
        if (lParam != 0 &&
            reinterpret_cast<const WINDOWPOS*>(lParam)->flags == (SWP_NOSIZE | SWP_NOMOVE)) {
            StopIconAlert(window());
        }
        return 0;
    case WM_SETFOCUS:
        StopIconAlert(window());
        return 0;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_LBUTTONDOWN || LOWORD(wParam) == WM_RBUTTONDOWN) {
            StopIconAlert(window());
            ThePluginProcess().notificationWindow.closeIfVisible();
        }
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && header->code == TTN_GETDISPINFOA) {
            return tooltipText(*reinterpret_cast<NMTTDISPINFOA*>(header), handled);
        }
        return 0;
    }
    default:
        return 0;
    }
}

// The toolbar asks its parent for a button's tooltip. The plug-in's button gets string 1 of
// the plug-in's module, which the toolbar loads once the host's procedure has seen the
// request too; every other request is answered here with no text.
LRESULT FrameWinHook::tooltipText(NMTTDISPINFOA& info, bool& handled) const
{
    PluginProcess& process = ThePluginProcess();
    info.hinst = static_cast<HINSTANCE>(process.state.pluginInstance);
    const unsigned button = process.frameHooks.commands.toolbarMenuCommand;
    if (button != 0 && info.hdr.idFrom == button) {
        info.lpszText = MAKEINTRESOURCEA(IDS_TOOLBAR_TOOLTIP);
        handled = false;
    } else {
        handled = true;
    }
    return 0;
}

void FrameWinHook::SetAccount(const std::string& accountDir)
{
    if (accountDir == accountDir_) {
        return;
    }
    accountDir_ = accountDir;
    if (tree_ == nullptr) {
        findTree();
    }
    if (toolbar_ != nullptr) {
        return;
    }
    toolbar_ = FindWindowExA(window(), nullptr, TOOLBARCLASSNAMEA, nullptr);
    if (toolbar_ != nullptr) {
        addToolbarButton();
    }
}

void FrameWinHook::findTree()
{
    HWND pane = FindWindowExA(window(), nullptr, kFolderPaneClass, nullptr);
    HWND tree = pane != nullptr ? FindWindowExA(pane, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
    if (tree != nullptr) {
        tree_ = std::make_unique<FolderTreeView>(tree);
    }
}

// A separator, then the plug-in's button after the host's own ones.
void FrameWinHook::addToolbarButton()
{
    PluginProcess& process = ThePluginProcess();
    // Kept while the hook lives: a toolbar may build its image list again from the bitmap.
    buttonPicture_ = static_cast<HBITMAP>(LoadImageA(
        static_cast<HINSTANCE>(process.state.pluginInstance), MAKEINTRESOURCEA(IDB_TOOLBAR_BUTTON),
        IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    TBADDBITMAP bitmap = {nullptr, reinterpret_cast<UINT_PTR>(buttonPicture_)};
    buttonImage_ = static_cast<int>(
        SendMessageA(toolbar_, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&bitmap)));

    TBBUTTON separator = {};
    separator.fsState = TBSTATE_ENABLED;
    separator.fsStyle = TBSTYLE_SEP;
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&separator));

    ToolbarCommandNumbers& commands = process.frameHooks.commands;
    if (commands.toolbarMenuCommand == 0) {
        RegisterToolbarCommands(process.state.host, commands);
    }
    TBBUTTON button = {};
    button.iBitmap = buttonImage_;
    button.idCommand = static_cast<int>(commands.toolbarMenuCommand);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = TBSTYLE_BUTTON;
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
}

void FrameHooks::markFolderBold(const std::string& accountDir, const std::string& displayPath)
{
    for (HWND window : HookedWindows()) {
        FrameWinHook* hook = FindFrameHook(window);
        if (hook != nullptr && hook->tree() != nullptr && hook->accountDir() == accountDir) {
            hook->tree()->rereadRoot();
            MarkFolderPathBold(*hook->tree(), displayPath);
        }
    }
}

void AutoDismiss(HWND window)
{
    if (!ThePluginProcess().state.settings.AutoReceive || !IsWindow(window)) {
        return;
    }
    if (PressInOwnedBoxes(window, kErrorBoxTitle, nullptr, kOkLabel)) {
        PressInOwnedBoxes(window, nullptr, kPasswordPromptText, kCancelLabel);
    }
}

void RefreshFolderBold(const std::string& accountDir)
{
    if (accountDir.empty()) {
        return;
    }
    PluginState& state = ThePluginProcess().state;
    state.boldRefreshPending = false;
    for (HWND window : HookedWindows()) {
        FrameWinHook* hook = FindFrameHook(window);
        if (hook == nullptr || hook->tree() == nullptr) {
            continue;
        }
        const AccountTally* tally = FindAccountTally(state.newMailTally, hook->accountDir());
        if (tally != nullptr && tally->accountDir == accountDir) {
            hook->tree()->rereadRoot();
            ApplyTallyToTree(*hook->tree(), *tally);
        }
    }
}

void CreateFrameHook(HWND frame)
{
    PluginProcess& process = ThePluginProcess();
    // A window is hooked once; a second creation only brings the account up to date.
    FrameWinHook* hook = FindFrameHook(frame);
    if (hook == nullptr) {
        auto created = std::make_unique<FrameWinHook>(frame);
        if (!created->install(process.frameHooks.registry)) {
            return;
        }
        hook = created.release();
    }
    const std::string account = AccountOfWindow(process.state.host, frame);
    if (!account.empty()) {
        hook->SetAccount(account);
    }
}

void FolderWindowLoaded(HWND frame, const char* folder)
{
    PluginState& state = ThePluginProcess().state;
    if (FrameWinHook* hook = FindFrameHook(frame)) {
        const std::string account = AccountOfWindow(state.host, frame);
        if (!account.empty()) {
            hook->SetAccount(account);
        }
    }
    if (state.settings.AfterSetBold) {
        ClearFolderTally(state.newMailTally, state.boldRefreshPending, state.host,
                         ThePluginProcess().profile, AccountOfWindow(state.host, frame),
                         HostText(folder));
        RefreshFolderBold(AccountOfWindow(state.host, frame));
    }
}

void FolderWindowOpensView(HWND frame)
{
    PluginState& state = ThePluginProcess().state;
    if (state.boldRefreshPending) {
        RefreshFolderBold(AccountOfWindow(state.host, frame));
    }
}
