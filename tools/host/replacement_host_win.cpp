#include "replacement_host_win.h"

#include "host_clock_win.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kFrameClass = "AfxMDIFrame42s";
constexpr const char* kViewClass = "Corvane32MailView";
constexpr const char* kTreeRootText = "Corvane32";
constexpr int kToolbarId = 0xE800;
constexpr int kTreeId = 0xE900;

ReplacementHost* activeHost = nullptr;

// Two stock icons that differ, so that a test can tell the large one from the small one.
HICON FrameClassIcon(bool big)
{
    return LoadIcon(nullptr, big ? IDI_APPLICATION : IDI_INFORMATION);
}

void RegisterWindowClasses(WNDPROC frameProc, WNDPROC viewProc)
{
    static bool registered = false;
    if (registered) {
        return;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXA frameClass = {};
    frameClass.cbSize = sizeof frameClass;
    frameClass.lpfnWndProc = frameProc;
    frameClass.hInstance = GetModuleHandleA(nullptr);
    frameClass.hIcon = FrameClassIcon(true);
    frameClass.hIconSm = FrameClassIcon(false);
    frameClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    frameClass.lpszClassName = kFrameClass;
    RegisterClassExA(&frameClass);
    WNDCLASSEXA viewClass = frameClass;
    viewClass.lpfnWndProc = viewProc;
    viewClass.lpszClassName = kViewClass;
    RegisterClassExA(&viewClass);
    registered = true;
}

std::string TreeItemText(HWND tree, HTREEITEM item)
{
    char text[256] = {};
    TVITEMA data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}

// The host's own toolbar pictures, 23 x 16 pixels each, on the button face (which the toolbar
// shows as transparent): a letter with a downward arrow (receive), and a red cross (delete).
HBITMAP DrawHostButtons()
{
    constexpr int kWidth = 23;
    constexpr int kHeight = 16;
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 2 * kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(canvas, picture);
    const RECT all = {0, 0, 2 * kWidth, kHeight};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));

    HGDIOBJ previousPen = SelectObject(canvas, GetStockObject(BLACK_PEN));
    HGDIOBJ previousBrush = SelectObject(canvas, GetStockObject(WHITE_BRUSH));
    Rectangle(canvas, 3, 2, 20, 12);
    MoveToEx(canvas, 3, 2, nullptr);
    LineTo(canvas, 11, 8);
    LineTo(canvas, 20, 1);
    const POINT arrow[] = {{8, 10}, {15, 10}, {11, 15}};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(canvas, blue);
    Polygon(canvas, arrow, 3);

    HPEN red = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    SelectObject(canvas, red);
    MoveToEx(canvas, kWidth + 6, 3, nullptr);
    LineTo(canvas, kWidth + 17, 13);
    MoveToEx(canvas, kWidth + 17, 3, nullptr);
    LineTo(canvas, kWidth + 6, 13);

    SelectObject(canvas, previousPen);
    SelectObject(canvas, previousBrush);
    SelectObject(canvas, previous);
    DeleteObject(red);
    DeleteObject(blue);
    DeleteDC(canvas);
    return picture;
}

HTREEITEM InsertTreeItem(HWND tree, HTREEITEM parent, const std::string& text)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

std::string LoggedPointer(const void* pointer)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(pointer)));
    return text;
}

std::string ProgramFolderOfThisProcess()
{
    std::string path(MAX_PATH, '\0');
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    while (length == path.size()) {
        path.resize(path.size() * 2);
        length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    }
    path.resize(length);
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string ListViewCellText(HWND list, int item, int column)
{
    char text[512] = {};
    LVITEMA data = {};
    data.iSubItem = column;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&data));
    return text;
}

ReplacementHost::ReplacementHost(std::string programFolder)
    : programFolder_(std::move(programFolder)), mailbox_(programFolder_ + "MailBox\\")
{
    activeHost = this;
    createWindows();
}

ReplacementHost::~ReplacementHost()
{
    for (const auto& [id, timer] : timers_) {
        KillTimer(frame_, id);
    }
    timers_.clear();
    while (!views_.empty()) {
        DestroyWindow(views_.begin()->first);
    }
    DestroyWindow(frame_);
    pumpMessages();
    DeleteObject(toolbarPicture_);
    activeHost = nullptr;
}

ReplacementHost* ReplacementHost::active()
{
    return activeHost;
}

void ReplacementHost::createWindows()
{
    RegisterWindowClasses(FrameProc, ViewProc);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    frame_ = CreateWindowExA(0, kFrameClass, "Corvane32", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                             0, 0, 800, 600, nullptr, createMenuBar(), instance, this);
    toolbar_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                               WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, 0, 0, 0, 0, frame_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarId)), instance,
                               nullptr);
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(23, 16));
    toolbarPicture_ = DrawHostButtons();
    TBADDBITMAP own = {nullptr, reinterpret_cast<UINT_PTR>(toolbarPicture_)};
    SendMessageA(toolbar_, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&own));
    TBBUTTON buttons[2] = {};
    buttons[0].iBitmap = 0;
    buttons[0].idCommand = kReceiveCommand;
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[0].fsStyle = TBSTYLE_BUTTON;
    buttons[1].iBitmap = 1;
    buttons[1].idCommand = kReceiveCommand + 1;
    buttons[1].fsState = TBSTATE_ENABLED;
    buttons[1].fsStyle = TBSTYLE_BUTTON;
    SendMessageA(toolbar_, TB_ADDBUTTONSA, 2, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);

    pane_ = CreateWindowExA(0, kFrameClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 40,
                            780, 500, frame_, nullptr, instance, this);
    tree_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, nullptr,
                            WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT,
                            0, 0, 250, 500, pane_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTreeId)), instance,
                            nullptr);
    treeRoot_ = InsertTreeItem(tree_, TVI_ROOT, kTreeRootText);
    treeAccount_ = InsertTreeItem(tree_, treeRoot_, "");
    ShowWindow(frame_, SW_SHOWNOACTIVATE);
    UpdateWindow(frame_);
    pumpMessages();
}

HMENU ReplacementHost::createMenuBar() const
{
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(PopupWithItems({{"終了(&X)", 57665}})),
                "ファイル(&F)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(PopupWithItems({{"コピー(&C)", 57634}})),
                "編集(&E)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(PopupWithItems({{"ツールバー(&T)", 59392}})),
                "表示(&V)");
    AppendMenuA(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(PopupWithItems({{"メール受信(&R)", kReceiveCommand}})),
                "ツール(&T)");
    return bar;
}

LRESULT CALLBACK ReplacementHost::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* host = reinterpret_cast<ReplacementHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    // The pane shares the frame's class; only the frame itself acts on commands and timers.
    const bool isFrame = host != nullptr && GetParent(window) == nullptr;
    if (isFrame) {
        switch (message) {
        case WM_COMMAND:
            if (host->runCommand(window, LOWORD(wParam))) {
                return 0;
            }
            break;
        case WM_TIMER:
            host->runTimer(static_cast<unsigned>(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            host->applyCommandStates(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_SIZE:
            SendMessageA(host->toolbar_, TB_AUTOSIZE, 0, 0);
            break;
        default:
            break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ReplacementHost::ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* host = reinterpret_cast<ReplacementHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (host != nullptr) {
        switch (message) {
        case WM_COMMAND:
            if (host->runCommand(window, LOWORD(wParam))) {
                return 0;
            }
            break;
        case WM_INITMENUPOPUP:
            host->applyCommandStates(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_NCDESTROY:
            host->views_.erase(window);
            break;
        default:
            break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ReplacementHost::runCommand(HWND window, unsigned command)
{
    const auto found = commands_.find(command);
    if (found == commands_.end()) {
        return false;
    }
    const RegisteredCommand registered = found->second;
    registered.callback(window, registered.parameter);
    return true;
}

void ReplacementHost::runTimer(unsigned id)
{
    auto found = timers_.find(id);
    if (found == timers_.end() || found->second.running) {
        return;
    }
    found->second.running = true;
    ++timerRuns_;
    const HostTimer timer = found->second.timer;
    const int keepRunning = timer.callback(nullptr, timer.parameter);
    // The callback may have killed this timer, or others, meanwhile.
    found = timers_.find(id);
    if (found == timers_.end()) {
        return;
    }
    found->second.running = false;
    if (keepRunning == 0) {
        KillTimer(frame_, id);
        timers_.erase(found);
    }
}

void ReplacementHost::applyCommandStates(HMENU menu) const
{
    for (const auto& [command, grayed] : grayedCommands_) {
        EnableMenuItem(menu, command, MF_BYCOMMAND | (grayed ? MF_GRAYED : MF_ENABLED));
    }
}

bool ReplacementHost::loadPlugin()
{
    return plugin_.load(pluginPath());
}

int ReplacementHost::startUp()
{
    return plugin_.loaded() ? plugin_.entry().APCStartUp(0) : 0;
}

void ReplacementHost::createFolderWindow()
{
    if (plugin_.loaded()) {
        plugin_.entry().APCFolderCreate(frame_);
        pumpMessages();
    }
}

bool ReplacementHost::startPlugin()
{
    if (!loadPlugin()) {
        return false;
    }
    startUp();
    createFolderWindow();
    return true;
}

void ReplacementHost::openFolder(const std::string& folderPath)
{
    currentFolder_ = folderPath;
    showAccountInTree(Mailbox::accountOf(folderPath));
    if (plugin_.loaded()) {
        plugin_.entry().APCFolderLoad(frame_, folderPath.c_str());
    }
    pumpMessages();
}

void ReplacementHost::setCurrentEntry(const std::string& reference)
{
    currentEntry_ = reference;
}

void ReplacementHost::setSelection(const std::vector<std::string>& references)
{
    selection_ = references;
    selectionCursor_ = 0;
    currentEntry_ = references.empty() ? std::string() : references.front();
}

HWND ReplacementHost::openView(const std::string& reference)
{
    if (plugin_.loaded()) {
        plugin_.entry().APCFolderPreOpenView(frame_, 0);
    }
    HWND view = CreateWindowExA(0, kViewClass, reference.c_str(), WS_OVERLAPPEDWINDOW, 100, 100, 600,
                                400, frame_, createMenuBar(), GetModuleHandleA(nullptr), this);
    views_[view] = reference;
    ShowWindow(view, SW_SHOWNOACTIVATE);
    pumpMessages();
    return view;
}

void ReplacementHost::closeView(HWND view)
{
    DestroyWindow(view);
    pumpMessages();
}

BuiltMenu ReplacementHost::folderMenu(int menuId)
{
    BuiltMenu menu(PopupWithItems({{"開く(&O)", 32800}, {"返信(&R)", 32801}, {"削除(&D)", 32802}}),
                   frame_, menuId);
    if (plugin_.loaded()) {
        menu.initResult_ = plugin_.entry().APCFolderInitMenu(frame_, menu.menu_, menuId);
    }
    return menu;
}

BuiltMenu ReplacementHost::viewMenu(HWND view, int menuId)
{
    HMENU handle = menuId == 201 ? createMenuBar()
                                 : PopupWithItems({{"返信(&R)", 32801}, {"転送(&W)", 32803}});
    BuiltMenu menu(handle, view, menuId);
    if (plugin_.loaded()) {
        menu.initResult_ = plugin_.entry().APCViewInitMenu(view, menu.menu_, menuId);
    }
    return menu;
}

bool ReplacementHost::chooseMenuItem(const BuiltMenu& menu, const std::string& label)
{
    const std::optional<MenuEntry> entry = menu.find(label);
    if (!entry || entry->id == 0) {
        return false;
    }
    sendCommand(menu.window(), entry->id);
    return true;
}

void ReplacementHost::sendCommand(HWND window, unsigned command)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    pumpMessages();
}

std::vector<int> ReplacementHost::toolbarCommands() const
{
    std::vector<int> commands;
    const int count = static_cast<int>(SendMessageA(toolbar_, TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TBBUTTON button = {};
        SendMessageA(toolbar_, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        commands.push_back(button.idCommand);
    }
    return commands;
}

std::string ReplacementHost::toolbarTooltip(int command) const
{
    HWND tooltips = reinterpret_cast<HWND>(SendMessageA(toolbar_, TB_GETTOOLTIPS, 0, 0));
    if (tooltips == nullptr) {
        return std::string();
    }
    char text[80] = {};
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = toolbar_;
    tool.uId = static_cast<UINT_PTR>(command);
    tool.lpszText = text;
    SendMessageA(tooltips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

bool ReplacementHost::pressToolbarButton(int command)
{
    RECT button = {};
    if (!SendMessageA(toolbar_, TB_GETRECT, static_cast<WPARAM>(command),
                      reinterpret_cast<LPARAM>(&button))) {
        return false;
    }
    const LPARAM centre = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    PostMessageA(toolbar_, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageA(toolbar_, WM_LBUTTONUP, 0, centre);
    pumpMessages();
    return true;
}

void ReplacementHost::clickChild(HWND child, bool rightButton)
{
    const UINT down = rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    const UINT up = rightButton ? WM_RBUTTONUP : WM_LBUTTONUP;
    RECT area = {};
    GetClientRect(child, &area);
    POINT point = {area.right / 2, area.bottom / 2};
    const LPARAM inChild = MAKELPARAM(point.x, point.y);
    // Each ancestor hears of the press, the nearest first, with the point in its own client
    // area; a child created with WS_EX_NOPARENTNOTIFY ends the chain.
    for (HWND window = child; (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0 &&
                              (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY) == 0;) {
        HWND parent = GetParent(window);
        if (parent == nullptr) {
            break;
        }
        POINT inParent = point;
        MapWindowPoints(child, parent, &inParent, 1);
        SendMessageA(parent, WM_PARENTNOTIFY, MAKEWPARAM(down, 0), MAKELPARAM(inParent.x, inParent.y));
        window = parent;
    }
    PostMessageA(child, down, rightButton ? MK_RBUTTON : MK_LBUTTON, inChild);
    PostMessageA(child, up, 0, inChild);
    pumpMessages();
}

std::vector<HostTimer> ReplacementHost::liveTimers() const
{
    std::vector<HostTimer> live;
    for (const auto& [id, timer] : timers_) {
        live.push_back(timer.timer);
    }
    return live;
}

std::vector<HostTimer> ReplacementHost::liveTimers(unsigned milliseconds) const
{
    std::vector<HostTimer> live;
    for (const HostTimer& timer : liveTimers()) {
        if (timer.milliseconds == milliseconds) {
            live.push_back(timer);
        }
    }
    return live;
}

std::vector<HostCall> ReplacementHost::timersStarted(unsigned milliseconds) const
{
    std::vector<HostCall> started;
    for (const HostCall& call : callsTo("APASetTimer")) {
        if (call.arguments.at(0) == std::to_string(milliseconds)) {
            started.push_back(call);
        }
    }
    return started;
}

void ReplacementHost::stepTimers()
{
    std::vector<unsigned> ids;
    for (const auto& [id, timer] : timers_) {
        ids.push_back(id);
    }
    for (unsigned id : ids) {
        runTimer(id);
    }
}

std::vector<RetrievedMessage> ReplacementHost::retrieve(const std::string& account,
                                                        const std::vector<std::string>& messages)
{
    std::vector<RetrievedMessage> retrieved;
    for (const std::string& bytes : messages) {
        RetrievedMessage message;
        message.reference = mailbox_.addMessage(Mailbox::inbox(account), bytes);
        message.path = mailbox_.messagePath(message.reference);
        if (plugin_.loaded()) {
            LARGE_INTEGER before;
            LARGE_INTEGER after;
            const double servicesBefore = fileServiceSeconds_;
            QueryPerformanceCounter(&before);
            message.result = plugin_.entry().APCRecFilter(message.path.c_str());
            QueryPerformanceCounter(&after);
            message.filterSeconds = SecondsBetween(before, after);
            message.hostServiceSeconds = fileServiceSeconds_ - servicesBefore;
        }
        if ((message.result & 1) != 0) {
            serverDeletes_.push_back(message.reference);
            message.serverDeleteRecorded = true;
        }
        if ((message.result & 4) != 0) {
            DeleteFileA(message.path.c_str());
            marks_.erase(message.reference);
            message.hostCopyDeleted = true;
        }
        retrieved.push_back(message);
    }
    if (plugin_.loaded()) {
        plugin_.entry().APCFolderEndRetrieve(frame_);
    }
    pumpMessages();
    return retrieved;
}

std::vector<RetrievedMessage> ReplacementHost::retrieveFiles(const std::string& account,
                                                             const std::vector<std::string>& files)
{
    std::vector<std::string> messages;
    for (const std::string& file : files) {
        messages.push_back(ReadFileBytes(file).value_or(std::string()));
    }
    return retrieve(account, messages);
}

void ReplacementHost::setCommandGrayed(unsigned command, bool grayed)
{
    grayedCommands_[command] = grayed;
}

void ReplacementHost::removeMenuCommand(unsigned command)
{
    DeleteMenu(GetMenu(frame_), command, MF_BYCOMMAND);
    DrawMenuBar(frame_);
}

HICON ReplacementHost::frameClassIcon(bool big) const
{
    return FrameClassIcon(big);
}

int ReplacementHost::markOf(const std::string& reference) const
{
    const auto found = marks_.find(reference);
    return found == marks_.end() ? 0 : found->second;
}

std::vector<std::string> ReplacementHost::copiesOf(const std::string& reference) const
{
    const auto found = copies_.find(reference);
    return found == copies_.end() ? std::vector<std::string>() : found->second;
}

void ReplacementHost::showAccountInTree(const std::string& account)
{
    if (account == treeAccountName_) {
        return;
    }
    treeAccountName_ = account;
    // The root and account items stay; only what hangs below the account is rebuilt, so a
    // root item read earlier remains valid.
    HTREEITEM child;
    while ((child = TreeView_GetChild(tree_, treeAccount_)) != nullptr) {
        TreeView_DeleteItem(tree_, child);
    }
    const std::string title = mailbox_.accountTitle(account);
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = treeAccount_;
    item.pszText = const_cast<char*>(title.c_str());
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    addTreeFolders(treeAccount_, std::string(), mailbox_.folders(account));
    TreeView_Expand(tree_, treeRoot_, TVE_EXPAND);
    TreeView_Expand(tree_, treeAccount_, TVE_EXPAND);
}

void ReplacementHost::addTreeFolders(HTREEITEM parent, const std::string& prefix,
                                     const std::vector<FolderListing>& folders)
{
    for (const FolderListing& folder : folders) {
        const std::string expectedPrefix = prefix.empty() ? std::string() : prefix + "\\";
        if (folder.displayPath.compare(0, expectedPrefix.size(), expectedPrefix) != 0) {
            continue;
        }
        const std::string rest = folder.displayPath.substr(expectedPrefix.size());
        if (SplitDisplayPath(rest).size() != 1) {
            continue;
        }
        HTREEITEM item = InsertTreeItem(tree_, parent, rest);
        if (folder.group) {
            addTreeFolders(item, folder.displayPath, folders);
            TreeView_Expand(tree_, item, TVE_EXPAND);
        }
    }
}

HTREEITEM ReplacementHost::treeItem(const std::string& displayPath) const
{
    HTREEITEM parent = treeAccount_;
    HTREEITEM found = nullptr;
    for (const std::string& component : SplitDisplayPath(displayPath)) {
        found = nullptr;
        for (HTREEITEM child = TreeView_GetChild(tree_, parent); child != nullptr;
             child = TreeView_GetNextSibling(tree_, child)) {
            if (TreeItemText(tree_, child) == component) {
                found = child;
                break;
            }
        }
        if (found == nullptr) {
            return nullptr;
        }
        parent = found;
    }
    return found;
}

bool ReplacementHost::isTreeItemBold(const std::string& displayPath) const
{
    HTREEITEM item = treeItem(displayPath);
    return item != nullptr && (TreeView_GetItemState(tree_, item, TVIS_BOLD) & TVIS_BOLD) != 0;
}

void ReplacementHost::forgetHistory()
{
    calls_.clear();
    serverDeletes_.clear();
    savedCopies_.clear();
    copies_.clear();
    // A message the plug-in marks after it deleted it leaves a mark of nothing behind.
    for (auto mark = marks_.begin(); mark != marks_.end();) {
        mark = mailbox_.messageExists(mark->first) ? std::next(mark) : marks_.erase(mark);
    }
}

std::vector<HostCall> ReplacementHost::callsTo(const std::string& service) const
{
    std::vector<HostCall> found;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(found),
                 [&service](const HostCall& call) { return call.service == service; });
    return found;
}

void ReplacementHost::pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void ReplacementHost::pumpMessagesFor(DWORD milliseconds)
{
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        pumpMessages();
    }
}
