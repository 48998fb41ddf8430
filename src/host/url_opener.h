// Hands an address to the system's browser. Win32: ShellExecuteA (url_opener_win.cpp).
#pragma once

#include <string>

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Opens address with the shell's "open" verb; whether that worked is not reported.
    virtual void open(const std::string& address) = 0;
};
