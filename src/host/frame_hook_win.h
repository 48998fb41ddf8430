// The hook on each of the host's folder windows (the window APCFolderCreate receives). It
// adds the plug-in's button to the host's toolbar and gives it its tooltip, shows in bold in
// the host's folder tree the folders that received sorted mail since they were opened, stops
// the new-mail icon and closes the notification window when the user turns to the window,
// and, with AutoReceive on while the host receives (command 32835 grayed), confirms the
// host's error boxes and cancels its password prompts that the window owns.
//
// The host's windows belong to the host: every handle kept here may be destroyed at any
// time, so each use copes with a window that is gone.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "core/host_api.h"
#include "host/folder_tree.h"
#include "host/new_mail_tally.h"
#include "host/window_hook_win.h"

// The host's folder tree control, walked through the FolderTree interface.
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

// The host command numbers of the toolbar button and its popup's two items; registered once
// per process, the first time a toolbar is found, and never released. 0: not registered.
struct ToolbarCommandNumbers {
    unsigned toolbarMenuCommand = 0;
    unsigned settingsCommand = 0;
    unsigned openClassifierCommand = 0;
};

class FrameWinHook : public CLSWinHook {
public:
    // Milliseconds between two looks for boxes to dismiss.
    static constexpr unsigned kAutoDismissMilliseconds = 500;

    // Starts the host timer of the box dismissal for window; the timer ends with the hook.
    explicit FrameWinHook(HWND window);
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

    std::unique_ptr<FolderTreeView> tree_;
    std::string accountDir_;
    HWND toolbar_ = nullptr;
    int buttonImage_ = -1;
    HBITMAP buttonPicture_ = nullptr;
    unsigned autoDismissTimer_ = 0;
};

// The process-wide side of the folder-window hooks: the registry and the command numbers;
// draws the tally's counts in the hooked trees.
class FrameHooks : public FolderBoldMarker {
public:
    HookRegistry registry;
    ToolbarCommandNumbers commands;

    // Bolds displayPath in the tree of every hooked window that shows accountDir.
    void markFolderBold(const std::string& accountDir, const std::string& displayPath) override;
};

// Presses OK in the host's "エラー" boxes and "キャンセル" in its password prompts owned by
// window, while AutoReceive is on and the host's command 32835 is grayed.
void AutoDismiss(HWND window);

// Redraws every hooked tree whose account is accountDir from the tally (clearing bold that
// is no longer due); clears boldRefreshPending.
void RefreshFolderBold(const std::string& accountDir);

// APCFolderCreate's first steps: hooks the folder window and gives the hook the window's
// account, when the host names one.
void CreateFrameHook(HWND frame);
// APCFolderLoad: the hook's account follows the window; with AfterSetBold the opened folder's
// count is cleared and the trees redrawn.
void FolderWindowLoaded(HWND frame, const char* folder);
// APCFolderPreOpenView: redraws the trees when a count was cleared since the last redraw.
void FolderWindowOpensView(HWND frame);
