#include "host/url_opener_win.h"

#include <windows.h>
#include <shellapi.h>

void ShellUrlOpener::open(const std::string& address)
{
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
