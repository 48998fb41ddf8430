// A replacement for the Corvane32 mail client, small enough to read in one sitting, that
// loads the real plug-in and offers it the client's 34 services. Tests and the demo program
// drive it; its comments state what the plug-in may rely on (the embedding contract).
//
// Process and threads. There is one host object per process (ReplacementHost::active()).
// Everything the plug-in sees happens on the thread that created the host, the user-interface
// thread: entry points, service calls, registered command callbacks and timer callbacks. The
// host pumps its message queue while it waits (pumpMessages) and after every user action it
// simulates, so messages the plug-in posts to host windows are delivered there.
//
// Windows. The main window (frame()) is of class "AfxMDIFrame42s" and has a menu bar whose
// fourth submenu holds command 32835 ("メール受信"), a "ToolbarWindow32" toolbar as a direct
// child, and a child pane of class "AfxMDIFrame42s" holding the "SysTreeView32" folder tree.
// The frame is the folder window: it is what APCFolderCreate, APCFolderLoad,
// APCFolderPreOpenView, APCFolderInitMenu and APCFolderEndRetrieve receive. Message views are
// windows of their own (openView) owned by the frame.
//
// Toolbar. Its pictures are 23 x 16 pixels; the host's own two buttons carry the commands
// 32835 and 32836. It has a tooltip control, which asks the frame for each button's text
// (TTN_GETDISPINFO); the host itself gives none. A press sends the frame WM_COMMAND.
//
// Folder tree. Its root item is "Corvane32"; the root's first child is the current account
// (its title); the account's folders hang below that item by title, groups with their folders.
//
// Commands. APARegistCallback hands out a command number (50000 upwards, never reused); a
// WM_COMMAND with that number reaching the frame or a view calls callback(window, parameter)
// from the message loop.
//
// Timers. APASetTimer starts a Win32 timer on the frame; every interval the callback runs as
// callback(NULL, parameter) until it returns 0 or APAKillTimer stops it. A callback is never
// re-entered while it runs.
//
// Mail services. Texts the host returns are Shift-JIS, owned by the host and valid until the
// same service is called again. APAGetMailbox ends in a backslash, as does APAGetAccount
// (null for a window showing no account). A mail reference is the message file's path below
// the mailbox root without ".CRV"; a destination is "<account title>\<display path>".
// APASaveMail copies a message to a file, APAImportFile stores a file as a new message of a
// folder (0 when the destination names no folder), APAMoveMail moves, APADeleteMail deletes,
// APAMarkMail(reference, mark, set) records a mark or (set 0) clears it; every result is
// nonzero on success. File names are never reused, so a reference names one message only.
//
// Retrieval. Each message is stored in the inbox before APCRecFilter gets its full path, and
// the next one is stored only after the call returned. Result bit 1 is noted as a deletion
// on the server; bit 4 makes the host delete its stored copy. After the last message comes
// APCFolderEndRetrieve(frame), then the host runs its message loop.
//
// Icons. The frame's window class carries a large and a small icon (frameClassIcon), which
// the plug-in may read and replace; WM_SETICON sets the frame's own icons.
//
// Busy state. APAIsBusy answers what setBusy set. The fourth submenu's command 32835 is
// grayed while setCommandGrayed says so; the host applies that when it is sent
// WM_INITMENUPOPUP for the submenu. removeMenuCommand takes the command out.
//
// Menus. Before showing a menu the host fills it with its own items, then hands it to the
// plug-in (APCFolderInitMenu with 102 for the folder window's menu, APCViewInitMenu with 201
// for a view's menu bar, 202 for its context menu); what the plug-in appends stays there.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/host_api.h"
#include "host_menu_win.h"
#include "mailbox_win.h"
#include "plugin_library_win.h"

// One service call as the host saw it. Texts are logged as their bytes, numbers in decimal,
// windows and callbacks as LoggedPointer gives them, null texts as "(null)".
struct HostCall {
    std::string service;                 // "APAImportFile"
    std::vector<std::string> arguments;
    std::string result;                  // the returned value, same formatting
    std::string detail;                  // what the call did: new reference of an import or move
};

struct HostTimer {
    unsigned id = 0;
    unsigned milliseconds = 0;
    HostTimerProc callback = nullptr;
    intptr_t parameter = 0;
};

// One message of a retrieval.
struct RetrievedMessage {
    std::string reference;  // where the host stored it, in the account's inbox
    std::string path;       // the full path APCRecFilter received
    int result = 0;         // what APCRecFilter returned
    bool serverDeleteRecorded = false;  // bit 1: the host noted a deletion on the server
    bool hostCopyDeleted = false;       // bit 4: the host deleted its stored copy
    double filterSeconds = 0;           // time spent inside APCRecFilter
    double hostServiceSeconds = 0;      // of that, time in the host's mail and file services
};

// "0x" + hexadecimal digits of a pointer, as windows and callbacks appear in the call log.
std::string LoggedPointer(const void* pointer);
// The folder of this process's executable, ending in a backslash.
std::string ProgramFolderOfThisProcess();
// The text of a list view's cell (item, column), Shift-JIS, at most 511 bytes.
std::string ListViewCellText(HWND list, int item, int column);

class ReplacementHost {
public:
    static constexpr unsigned kReceiveCommand = 32835;
    static constexpr unsigned kFirstCallbackCommand = 50000;

    // Creates the windows and the mailbox root "<program folder>MailBox\". The program folder
    // defaults to the folder of the running executable, which is where the plug-in looks for
    // "Plugins\tarnwick.ini".
    explicit ReplacementHost(std::string programFolder = ProgramFolderOfThisProcess());
    ~ReplacementHost();
    ReplacementHost(const ReplacementHost&) = delete;
    ReplacementHost& operator=(const ReplacementHost&) = delete;

    // The host the exported services forward to; null when none exists.
    static ReplacementHost* active();

    const std::string& programFolder() const { return programFolder_; }
    std::string pluginPath() const { return programFolder_ + "Plugins\\tarnwick.dll"; }
    std::string pluginIniPath() const { return programFolder_ + "Plugins\\tarnwick.ini"; }
    Mailbox& mailbox() { return mailbox_; }

    HWND frame() const { return frame_; }
    HWND folderPane() const { return pane_; }
    HWND folderTree() const { return tree_; }
    HWND toolbar() const { return toolbar_; }

    // --- The plug-in's lifecycle, in the order the client drives it.
    // Loads "<program folder>Plugins\tarnwick.dll" and resolves the entry points.
    bool loadPlugin();
    PluginLibrary& plugin() { return plugin_; }
    // APCStartUp(0); 0 when no plug-in is loaded.
    int startUp();
    // APCFolderCreate(frame), as the client does for its folder window.
    void createFolderWindow();
    // loadPlugin, startUp and createFolderWindow; false when the load failed.
    bool startPlugin();

    // --- Folders, selection and views.
    // Shows folderPath in the frame: it becomes the current folder, the tree shows its
    // account, then APCFolderLoad(frame, folderPath).
    void openFolder(const std::string& folderPath);
    const std::string& currentFolder() const { return currentFolder_; }
    // The frame's current message ("" for none) and its selection (in order).
    void setCurrentEntry(const std::string& reference);
    void setSelection(const std::vector<std::string>& references);
    // APCFolderPreOpenView(frame, 0), then a view window showing the message.
    HWND openView(const std::string& reference);
    void closeView(HWND view);

    // --- Menus. The host builds the menu, lets the plug-in add to it, and hands it over.
    // The folder window's context menu: a few host items, then APCFolderInitMenu(frame, menu, id).
    BuiltMenu folderMenu(int menuId = 102);
    // A view menu: for 201 a menu bar with four submenus, otherwise a popup with host items;
    // then APCViewInitMenu(view, menu, menuId).
    BuiltMenu viewMenu(HWND view, int menuId);
    // Chooses an item as a user would: posts WM_COMMAND with its id to the menu's window and
    // pumps messages, so the registered callback runs. False when no item has that label or
    // it carries no command.
    bool chooseMenuItem(const BuiltMenu& menu, const std::string& label);
    // Posts WM_COMMAND(command) to window and pumps messages.
    void sendCommand(HWND window, unsigned command);
    // The command numbers of the toolbar's buttons, in order (0 for separators).
    std::vector<int> toolbarCommands() const;
    // The tooltip of the toolbar's button with that command, as the toolbar's tooltip control
    // would show it (it asks the frame through TTN_GETDISPINFO); empty when there is none.
    std::string toolbarTooltip(int command) const;
    // Presses and releases the mouse button over the toolbar's button with that command (to
    // the toolbar, without moving the pointer) and pumps messages, so that the toolbar sends
    // the frame WM_COMMAND. False when the toolbar has no such button.
    bool pressToolbarButton(int command);
    // A left (or right) click in the middle of child, a descendant of the frame, as the system
    // delivers it without moving the pointer: WM_PARENTNOTIFY to each ancestor, then the
    // button messages to child; then pumps messages.
    void clickChild(HWND child, bool rightButton = false);

    // --- Timers.
    std::vector<HostTimer> liveTimers() const;
    // The live timers of one interval (the folder window's hook keeps a 500 ms timer of its
    // own), and the APASetTimer calls that asked for that interval.
    std::vector<HostTimer> liveTimers(unsigned milliseconds) const;
    std::vector<HostCall> timersStarted(unsigned milliseconds) const;
    // How many timer callbacks have run so far; may be read from any thread.
    unsigned timerRuns() const { return timerRuns_; }
    // The time spent so far inside the host's file services (save, import, move, mark,
    // delete), so that a run can tell the plug-in's own work apart.
    double fileServiceSeconds() const { return fileServiceSeconds_; }
    // Runs every live timer's callback once, synchronously, in id order; a callback that
    // returns 0 stops its timer.
    void stepTimers();

    // --- Retrieval: each message is stored as a new file in the account's inbox and handed
    // to APCRecFilter(full path); result bit 1 records a deletion on the server, bit 4 makes
    // the host delete its stored copy. Then APCFolderEndRetrieve(frame) and a message pump.
    std::vector<RetrievedMessage> retrieve(const std::string& account,
                                           const std::vector<std::string>& messages);
    std::vector<RetrievedMessage> retrieveFiles(const std::string& account,
                                                const std::vector<std::string>& files);
    // References whose deletion on the server was requested, in order.
    const std::vector<std::string>& serverDeletes() const { return serverDeletes_; }

    // --- The client's own modal boxes, owned by the frame (host_dialogs_win.cpp). Each runs
    // until answered: start a DialogWatcher or let the plug-in answer it.
    // A message box captioned "エラー" with text and an "OK" button; returns its result.
    int showErrorBox(const std::string& text);
    // A dialog with the text "パスワードを入力してください", a password field, "OK" and
    // "キャンセル"; returns IDOK or IDCANCEL.
    int showPasswordPrompt();

    // --- State the tests control or inspect.
    void setBusy(bool busy) { busy_ = busy; }
    // Grays or enables a menu-bar command; applied when its submenu is initialised.
    void setCommandGrayed(unsigned command, bool grayed);
    // Deletes a command from the frame's menu bar, as a host without it would have.
    void removeMenuCommand(unsigned command);
    // The icons of the frame's window class as the host registered them (GCLP_HICON for
    // big, GCLP_HICONSM otherwise).
    HICON frameClassIcon(bool big) const;
    // The mark of a message, 0 for none.
    int markOf(const std::string& reference) const;
    // References of the messages imported from copies that APASaveMail made of reference.
    std::vector<std::string> copiesOf(const std::string& reference) const;
    // The tree item shown for a display path of the current account; null when absent.
    HTREEITEM treeItem(const std::string& displayPath) const;
    bool isTreeItemBold(const std::string& displayPath) const;

    const std::vector<HostCall>& calls() const { return calls_; }
    std::vector<HostCall> callsTo(const std::string& service) const;
    void clearCalls() { calls_.clear(); }
    // Forgets the call log, what was noted of each message (copies made, deletions on the
    // server) and the marks of messages that are gone, so that a long run (the soak program)
    // keeps no more than a short one.
    void forgetHistory();
    // With reuse on, a callback registered again with the same parameter gets the number it
    // got before: the client's command numbers are 16 bits wide in WM_COMMAND, and a long day
    // of menus registers their items thousands of times. Off by default: every registration
    // gets a number of its own.
    void setCommandNumbersReused(bool reused) { commandNumbersReused_ = reused; }
    // Called on the UI thread after every service call has been logged, while the plug-in
    // waits for the call to return: a test acts at that precise moment (empty: none).
    void setCallObserver(std::function<void(const HostCall&)> observer)
    {
        callObserver_ = std::move(observer);
    }

    // Dispatches every queued message, then returns.
    void pumpMessages();
    // Dispatches messages for the given time.
    void pumpMessagesFor(DWORD milliseconds);

    // --- The services, called through the exported functions (exported_services_win.cpp).
    unsigned APARegistCallback(HostCommandProc callback, intptr_t parameter);
    unsigned APASetTimer(unsigned milliseconds, HostTimerProc callback, intptr_t parameter);
    int APAKillTimer(unsigned timer);
    int APAIsBusy();
    const char* APAGetMailbox();
    const char* APAGetAccount(HWND window);
    int APAImportFile(const char* file, const char* destination, int reserved);
    int APASaveMail(const char* mail, const char* file, int reserved1, int reserved2);
    int APAMoveMail(const char* mail, const char* destination);
    int APAMarkMail(const char* mail, int mark, int set);
    int APADeleteMail(const char* mail);
    const char* APAFolderGetCurrentFolder(HWND window);
    const char* APAFolderGetCurrentEntry(HWND window);
    const char* APAFolderGetSelectEntry(HWND window, int first);
    const char* APAViewGetPath(HWND view);
    // The services the plug-in resolves but never calls: logged, result 0.
    intptr_t unusedService(const char* name, const std::vector<intptr_t>& arguments);

private:
    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void createWindows();
    HMENU createMenuBar() const;
    void showAccountInTree(const std::string& account);
    void addTreeFolders(HTREEITEM parent, const std::string& prefix,
                        const std::vector<FolderListing>& folders);
    bool runCommand(HWND window, unsigned command);
    void runTimer(unsigned id);
    void applyCommandStates(HMENU menu) const;
    std::string accountOfWindow(HWND window) const;
    void log(const char* service, std::vector<std::string> arguments, std::string result,
             std::string detail = std::string());

    std::string programFolder_;
    Mailbox mailbox_;
    PluginLibrary plugin_;
    HWND frame_ = nullptr;
    HWND pane_ = nullptr;
    HWND tree_ = nullptr;
    HWND toolbar_ = nullptr;
    HBITMAP toolbarPicture_ = nullptr;  // the host's own button pictures
    HTREEITEM treeRoot_ = nullptr;
    HTREEITEM treeAccount_ = nullptr;
    std::string treeAccountName_;

    std::string currentFolder_;
    std::string currentEntry_;
    std::vector<std::string> selection_;
    std::size_t selectionCursor_ = 0;
    std::map<HWND, std::string> views_;

    struct RegisteredCommand {
        HostCommandProc callback;
        intptr_t parameter;
    };
    std::map<unsigned, RegisteredCommand> commands_;
    unsigned nextCommand_ = kFirstCallbackCommand;
    bool commandNumbersReused_ = false;

    struct RunningTimer {
        HostTimer timer;
        bool running = false;
    };
    std::map<unsigned, RunningTimer> timers_;
    unsigned nextTimer_ = 1;
    std::atomic<unsigned> timerRuns_{0};

    bool busy_ = false;
    std::map<unsigned, bool> grayedCommands_;
    std::map<std::string, int> marks_;
    std::map<std::string, std::string> savedCopies_;           // file -> reference saved
    std::map<std::string, std::vector<std::string>> copies_;   // reference -> imported copies
    std::vector<std::string> serverDeletes_;
    std::vector<HostCall> calls_;
    std::function<void(const HostCall&)> callObserver_;
    // Time spent in the services that touch the mailbox (mailbox root, save, import, mark,
    // delete), for telling the plug-in's own share of a retrieval apart.
    double fileServiceSeconds_ = 0;

    // Texts returned to the plug-in stay valid until the same service is called again.
    std::string mailboxText_;
    std::string accountText_;
    std::string currentFolderText_;
    std::string currentEntryText_;
    std::string selectEntryText_;
    std::string viewPathText_;
};
