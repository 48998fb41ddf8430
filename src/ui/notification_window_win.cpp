#include "ui/notification_window_win.h"

#include <commctrl.h>

#include "config/settings.h"
#include "config/settings_store.h"
#include "ui/notification_geometry.h"
#include "ui/notification_list_win.h"
#include "base/resource_ids.h"

namespace {
constexpr const char* kTitle = "受信メール表示";
// The class names a menu; no such resource exists, so the window has none.
constexpr const char* kMenuName = "ReicveMailMessageWnd";
constexpr int kCreationHeight = 100;
constexpr WPARAM kEscapeKey = VK_ESCAPE;
}  // namespace

NotificationWindow::NotificationWindow(PluginSettings& settings, ProfileStore& profile,
                                       FileSystem& files)
    : settings_(settings), profile_(profile), files_(files)
{
}

NotificationWindow::~NotificationWindow()
{
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    }
}

void NotificationWindow::create(HINSTANCE instance)
{
    if (created_) {
        return;
    }
    if (instance_ == nullptr) {
        instance_ = instance;
        windowClass_ = {};
        windowClass_.style = CS_HREDRAW | CS_VREDRAW;
        windowClass_.lpfnWndProc = WindowProc;
        windowClass_.hInstance = instance;
        windowClass_.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PLUGIN));
        windowClass_.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass_.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass_.lpszMenuName = kMenuName;
        windowClass_.lpszClassName = kClassName;
        if (RegisterClassA(&windowClass_) == 0) {
            return;
        }
    }
    rowCount_ = 0;
    shown_ = false;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, kTitle,
                                  WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, settings_.winLeft,
                                  settings_.winTop, settings_.winWidth, kCreationHeight, nullptr,
                                  nullptr, instance_, this);
    if (window != nullptr) {
        window_ = window;
        created_ = true;
    }
}

void NotificationWindow::show()
{
    if (instance_ == nullptr) {
        return;  // never created: there is no class to create it from
    }
    create(instance_);
    if (window_ == nullptr) {
        return;
    }
    fitToRows();
    shown_ = true;
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(window_);
}

void NotificationWindow::addRow(const NotificationRow& row)
{
    if (list_ != nullptr) {
        AppendNotificationRow(list_, rowCount_, row);
    }
    ++rowCount_;
    if (shown_) {
        fitToRows();
    }
}

void NotificationWindow::closeIfVisible()
{
    if (created_ && window_ != nullptr && IsWindowVisible(window_)) {
        PostMessageA(window_, WM_CLOSE, 0, 0);
    }
}

void NotificationWindow::fitToRows()
{
    if (window_ == nullptr) {
        return;
    }
    if (rowCount_ <= 0) {
        setHeight(0, true);
        return;
    }
    const int rowsBottom =
        list_ != nullptr ? NotificationRowsBottom(list_, rowCount_) + NotificationListFrameHeight(list_)
                         : 0;
    setHeight(0, false);
    RECT smallest = {};
    GetWindowRect(window_, &smallest);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    setHeight(NotificationWindowHeight(smallest.bottom - smallest.top, rowsBottom, smallest.top,
                                       monitor.rcWork.bottom),
              true);
}

void NotificationWindow::savePosition()
{
    if (window_ == nullptr) {
        return;
    }
    RECT bounds = {};
    GetWindowRect(window_, &bounds);
    const int width = bounds.right - bounds.left;
    if (bounds.top == settings_.winTop && bounds.left == settings_.winLeft &&
        width == settings_.winWidth) {
        return;
    }
    settings_.winTop = bounds.top;
    settings_.winLeft = bounds.left;
    settings_.winWidth = width;
    saveWindowPosition(settings_, profile_, files_);
}

LRESULT CALLBACK NotificationWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam)
{
    try {
        NotificationWindow* self = nullptr;
        if (message == WM_CREATE) {
            self = static_cast<NotificationWindow*>(
                reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<NotificationWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        self->window_ = window;
        return self->handle(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT NotificationWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // Without its list the window is of no use: creation then fails as a whole.
        list_ = CreateNotificationList(window_, instance_);
        return list_ != nullptr ? 0 : -1;
    case WM_SIZE:
        if (list_ != nullptr) {
            ResizeNotificationList(list_, LOWORD(lParam), HIWORD(lParam));
        }
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_KEYDOWN:
        if (wParam == kEscapeKey) {
            PostMessageA(window_, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_PARENTNOTIFY:
        if (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN) {
            PostMessageA(window_, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_COMMAND:
        return 0;
    case WM_DESTROY:
        // Later messages of this window (WM_NCDESTROY) no longer reach the object.
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        list_ = nullptr;
        created_ = false;
        return 0;
    default:
        return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void NotificationWindow::close()
{
    savePosition();
    ShowWindow(window_, SW_HIDE);
    shown_ = false;
    if (list_ != nullptr) {
        SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    }
    rowCount_ = 0;
}

void NotificationWindow::setHeight(int height, bool repaint)
{
    RECT bounds = {};
    GetWindowRect(window_, &bounds);
    SetWindowPos(window_, nullptr, 0, 0, bounds.right - bounds.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}
