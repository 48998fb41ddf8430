#include "host/frame_hook_win.h"

#include <vector>

#include "base/resource_ids.h"
#include "host/auto_dismiss_win.h"
#include "mailbox/new_mail_tally.h"

namespace {

constexpr const char* kFolderPaneClass = "AfxMDIFrame42s";

// The hooked folder windows, as a list of handles: walks over the hooks look each up again,
// since a window (and its hook) may go away while the walk talks to the host's controls.
std::vector<HWND> HookedWindows(const HookRegistry& registry)
{
    std::vector<HWND> windows;
    for (const CLSWinHook* hook : registry.hooks()) {
        windows.push_back(hook->window());
    }
    return windows;
}

}  // namespace

FrameWinHook::FrameWinHook(HWND window, FrameHooks& hooks) : CLSWinHook(window), hooks_(hooks)
{
    autoDismissTimer_ = hooks_.services.host.APASetTimer(kAutoDismissMilliseconds,
                                                         hooks_.services.autoDismissTimer,
                                                         reinterpret_cast<intptr_t>(window));
}

FrameWinHook::~FrameWinHook()
{
    // No timer may look at a window that is gone. While the library unloads, the host's
    // services are no longer called.
    const HostApi& host = hooks_.services.host;
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
            hooks_.services.events.userTurnedTo(window());
        }
        return 0;
    case WM_SETFOCUS:
        hooks_.services.events.userTurnedTo(window());
        return 0;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_LBUTTONDOWN || LOWORD(wParam) == WM_RBUTTONDOWN) {
            hooks_.services.events.userClickedIn(window());
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
    info.hinst = static_cast<HINSTANCE>(hooks_.services.module);
    const unsigned button = hooks_.commands.toolbarMenuCommand;
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
    // Kept while the hook lives: a toolbar may build its image list again from the bitmap.
    buttonPicture_ = static_cast<HBITMAP>(LoadImageA(
        static_cast<HINSTANCE>(hooks_.services.module), MAKEINTRESOURCEA(IDB_TOOLBAR_BUTTON),
        IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    TBADDBITMAP bitmap = {nullptr, reinterpret_cast<UINT_PTR>(buttonPicture_)};
    buttonImage_ = static_cast<int>(
        SendMessageA(toolbar_, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&bitmap)));

    TBBUTTON separator = {};
    separator.fsState = TBSTATE_ENABLED;
    separator.fsStyle = TBSTYLE_SEP;
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&separator));

    const ToolbarCommandNumbers& commands = hooks_.toolbarCommands();
    TBBUTTON button = {};
    button.iBitmap = buttonImage_;
    button.idCommand = static_cast<int>(commands.toolbarMenuCommand);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = TBSTYLE_BUTTON;
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
}

FrameHooks::FrameHooks(WNDPROC hookProcedure, const FrameHookServices& services)
    : registry(hookProcedure), services(services)
{
}

FrameWinHook* FrameHooks::find(HWND window) const
{
    return dynamic_cast<FrameWinHook*>(registry.find(window));
}

FrameWinHook* FrameHooks::hook(HWND window)
{
    if (FrameWinHook* hooked = find(window)) {
        return hooked;
    }
    auto created = std::make_unique<FrameWinHook>(window, *this);
    if (!created->install(registry)) {
        return nullptr;
    }
    return created.release();
}

void FrameHooks::markFolderBold(const std::string& accountDir, const std::string& displayPath)
{
    for (HWND window : HookedWindows(registry)) {
        FrameWinHook* hook = find(window);
        if (hook != nullptr && hook->tree() != nullptr && hook->accountDir() == accountDir) {
            hook->tree()->rereadRoot();
            MarkFolderPathBold(*hook->tree(), displayPath);
        }
    }
}

void FrameHooks::applyTally(const AccountTally& tally)
{
    for (HWND window : HookedWindows(registry)) {
        FrameWinHook* hook = find(window);
        if (hook != nullptr && hook->tree() != nullptr && hook->accountDir() == tally.accountDir) {
            hook->tree()->rereadRoot();
            ApplyTallyToTree(*hook->tree(), tally);
        }
    }
}

const ToolbarCommandNumbers& FrameHooks::toolbarCommands()
{
    if (commands.toolbarMenuCommand == 0) {
        commands = services.events.registerToolbarCommands();
    }
    return commands;
}
