// The hook on each of the host's folder windows (the window APCFolderCreate receives). It
// adds the plug-in's button to the host's toolbar and gives it its tooltip, shows in bold in
// the host's folder tree the folders that received sorted mail since they were opened, tells
// the plug-in when the user turns to the window, and runs the timer that dismisses the
// host's boxes while it receives.
//
// The host's windows belong to the host: every handle kept here may be destroyed at any
// time, so each use copes with a window that is gone.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "base/host_api.h"
#include "host/folder_tree.h"
#include "host/folder_tree_view_win.h"
#include "host/window_hook_win.h"

struct AccountTally;

// The host command numbers of the toolbar button and its popup's items; registered once
// per process, the first time a toolbar is found, and never released. 0: not registered.
struct ToolbarCommandNumbers {
    unsigned toolbarMenuCommand = 0;
    unsigned settingsCommand = 0;
    unsigned openClassifierCommand = 0;
    unsigned linkSelfTestCommand = 0;
};

// What the folder windows' hooks ask of the plug-in around them.
class FrameHookEvents {
public:
    // The user turned to window: brought it forward or gave it the focus.
    virtual void userTurnedTo(HWND window) = 0;
    // The user pressed a mouse button inside window.
    virtual void userClickedIn(HWND window) = 0;
    // Registers the toolbar button's and its popup's commands with the host.
    virtual ToolbarCommandNumbers registerToolbarCommands() = 0;

protected:
    ~FrameHookEvents() = default;
};

// What every folder-window hook works with.
struct FrameHookServices {
    const HostApi& host;
    void* const& module;  // the plug-in's module (settled at load): button picture, tooltip
    HostTimerProc autoDismissTimer;  // started per hooked window; parameter: the window
    FrameHookEvents& events;
};

class FrameHooks;

class FrameWinHook : public CLSWinHook {
public:
    // Starts the host timer of the box dismissal for window; the timer ends with the hook.
    FrameWinHook(HWND window, FrameHooks& hooks);
    ~FrameWinHook() override;

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // The window now shows accountDir (with its trailing backslash). On the first call the
    // folder tree and the toolbar are looked up; the first time the toolbar is found, the
    // plug-in's separator and button are appended to it. The same path again does nothing.
    void SetAccount(const std::string& accountDir);

    const std::string& accountDir() const { return accountDir_; }
    // The folder tree; null until found.
    FolderTreeView* tree() const { return tree_.get(); }
    HWND toolbar() const { return toolbar_; }

private:
    void findTree();
    void addToolbarButton();
    LRESULT tooltipText(NMTTDISPINFOA& info, bool& handled) const;

    FrameHooks& hooks_;
    std::unique_ptr<FolderTreeView> tree_;
    std::string accountDir_;
    HWND toolbar_ = nullptr;
    int buttonImage_ = -1;
    HBITMAP buttonPicture_ = nullptr;
    unsigned autoDismissTimer_ = 0;
};

// The process-wide side of the folder-window hooks: the registry, the command numbers and
// what the hooks share; draws the new-mail counts in the hooked trees.
class FrameHooks : public FolderBoldMarker {
public:
    // hookProcedure: the window procedure every hooked window gets (it dispatches through
    // this registry).
    FrameHooks(WNDPROC hookProcedure, const FrameHookServices& services);

    HookRegistry registry;
    ToolbarCommandNumbers commands;
    const FrameHookServices services;

    // The hook of window, or null.
    FrameWinHook* find(HWND window) const;
    // Hooks the folder window, once: a window hooked already keeps its hook. Null when the
    // window cannot be hooked.
    FrameWinHook* hook(HWND window);
    // Bolds displayPath in the tree of every hooked window that shows accountDir.
    void markFolderBold(const std::string& accountDir, const std::string& displayPath) override;
    // Redraws every hooked tree of the tally's account from it, clearing bold no longer due.
    void applyTally(const AccountTally& tally);
    // The toolbar's commands, registered first when they are not yet.
    const ToolbarCommandNumbers& toolbarCommands();
};
