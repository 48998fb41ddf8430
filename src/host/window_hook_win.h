// Subclassing of the host's windows. A hook puts the registry's one window procedure in place
// of the window's own and keeps the previous one; that procedure (the plug-in's
// HookWindowProc) finds the window's hook in the registry through DispatchHookedMessage and
// lets it see each message before the host does.
//
// Lifetime: a hook is installed once and then belongs to the registry. When its window gets
// WM_DESTROY, the previous procedure is put back while the window still exists, the hook is
// destroyed, and only then does the host's procedure see the message.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class HookRegistry;

class CLSWinHook {
public:
    explicit CLSWinHook(HWND window) : window_(window) {}
    virtual ~CLSWinHook() = default;
    CLSWinHook(const CLSWinHook&) = delete;
    CLSWinHook& operator=(const CLSWinHook&) = delete;

    // Sees a message before the window's previous procedure. Sets handled when the message
    // is answered here; the result is then returned and the previous procedure does not see
    // the message. The base version handles nothing.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    // Subclasses the window with the registry's procedure and registers the hook. False,
    // with nothing changed, when the window's procedure cannot be read (no window, or one of
    // another process) or the window is hooked already.
    bool install(HookRegistry& registry);
    // Puts the previous procedure back and takes the window out of the registry; does
    // nothing when not installed.
    void uninstall(HookRegistry& registry);

    HWND window() const { return window_; }
    // The procedure before the hook; null while not installed.
    WNDPROC prevProc() const { return prevProc_; }

private:
    HWND window_;
    WNDPROC prevProc_ = nullptr;
};

// The installed hooks, ordered by the numeric value of their window handles and searched by
// bisection (it is asked for every message of a hooked window). Owns them: hooks still
// registered when it is destroyed are unhooked from the windows that still exist and freed.
class HookRegistry {
public:
    // procedure: the window procedure every hooked window gets.
    explicit HookRegistry(WNDPROC procedure) : procedure_(procedure) {}
    ~HookRegistry();
    HookRegistry(const HookRegistry&) = delete;
    HookRegistry& operator=(const HookRegistry&) = delete;

    void add(CLSWinHook* hook);
    // Takes every hook of window out of the registry, without destroying it.
    void remove(HWND window);
    // The hook of window, or null.
    CLSWinHook* find(HWND window) const;
    // The hooks, in window-handle order.
    const std::vector<CLSWinHook*>& hooks() const { return hooks_; }
    WNDPROC procedure() const { return procedure_; }

private:
    WNDPROC procedure_;
    std::vector<CLSWinHook*> hooks_;
};

// What the hooked windows' procedure does with a message of window: hands it to the window's
// hook first and then, unless the hook answered it, to the window's previous procedure. At
// WM_DESTROY the hook is uninstalled and destroyed before the previous procedure sees the
// message. A window without a hook gets DefWindowProcA.
LRESULT DispatchHookedMessage(HookRegistry& registry, HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam);
