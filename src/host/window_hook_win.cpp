#include "host/window_hook_win.h"

#include <algorithm>
#include <memory>

namespace {
uintptr_t HandleValue(HWND window)
{
    return reinterpret_cast<uintptr_t>(window);
}

bool HookedBefore(const CLSWinHook* hook, uintptr_t window)
{
    return HandleValue(hook->window()) < window;
}

WNDPROC CurrentProc(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}
}  // namespace

LRESULT CLSWinHook::OnMessage(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}

bool CLSWinHook::install(HookRegistry& registry)
{
    if (prevProc_ != nullptr) {
        return true;
    }
    // A window hooked already would reach its first hook as the "previous" procedure of the
    // second and go round without end.
    const WNDPROC current = CurrentProc(window_);
    if (current == nullptr || current == registry.procedure()) {
        return false;
    }
    prevProc_ = current;
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(registry.procedure()));
    registry.add(this);
    return true;
}

void CLSWinHook::uninstall(HookRegistry& registry)
{
    if (prevProc_ == nullptr) {
        return;
    }
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prevProc_));
    registry.remove(window_);
    prevProc_ = nullptr;
}

HookRegistry::~HookRegistry()
{
    // Windows that outlive the registry must not call into a procedure that may be unloaded.
    for (CLSWinHook* hook : hooks_) {
        if (IsWindow(hook->window()) && CurrentProc(hook->window()) == procedure_) {
            SetWindowLongPtrA(hook->window(), GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(hook->prevProc()));
        }
        delete hook;
    }
}

void HookRegistry::add(CLSWinHook* hook)
{
    const auto place = std::upper_bound(hooks_.begin(), hooks_.end(), HandleValue(hook->window()),
                                        [](uintptr_t window, const CLSWinHook* existing) {
                                            return window < HandleValue(existing->window());
                                        });
    hooks_.insert(place, hook);
}

void HookRegistry::remove(HWND window)
{
    hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(),
                                [window](const CLSWinHook* hook) { return hook->window() == window; }),
                 hooks_.end());
}

CLSWinHook* HookRegistry::find(HWND window) const
{
    const auto found = std::lower_bound(hooks_.begin(), hooks_.end(), HandleValue(window), HookedBefore);
    return found != hooks_.end() && (*found)->window() == window ? *found : nullptr;
}

LRESULT DispatchHookedMessage(HookRegistry& registry, HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam)
{
    CLSWinHook* hook = registry.find(window);
    if (hook == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const WNDPROC previous = hook->prevProc();
    if (message == WM_DESTROY) {
        std::unique_ptr<CLSWinHook> destroyed(hook);
        destroyed->uninstall(registry);
    } else {
        bool handled = false;
        LRESULT result = 0;
        try {
            result = hook->OnMessage(message, wParam, lParam, handled);
        } catch (...) {
            handled = false;
        }
        if (handled) {
            return result;
        }
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}
