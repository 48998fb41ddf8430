#include "base/code_page_win.h"

#include <windows.h>

#include <climits>
#include <vector>

std::string Win32CodePageConverter::utf8ToAnsi(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > static_cast<size_t>(INT_MAX)) return {};
    const int utf8Length = static_cast<int>(utf8.size());
    // Ask for each length first, then convert into a buffer of exactly that size.
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8Length, nullptr, 0);
    if (wideLength <= 0) return {};
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    if (MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8Length, wide.data(), wideLength) !=
        wideLength) {
        return {};
    }
    const int ansiLength =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (ansiLength <= 0) return {};
    std::string ansi(static_cast<size_t>(ansiLength), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, &ansi[0], ansiLength, nullptr,
                            nullptr) != ansiLength) {
        return {};
    }
    return ansi;
}
