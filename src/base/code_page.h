// Code-page conversion between the plug-in's Shift-JIS byte strings and other encodings.
// Win32 implementation over MultiByteToWideChar/WideCharToMultiByte in code_page_win.cpp.
#pragma once

#include <string>

class CodePageConverter {
public:
    virtual ~CodePageConverter() = default;

    // UTF-8 bytes to the ANSI code page (Shift-JIS on a Japanese system); characters the
    // page lacks become the system's default character. Empty on failure.
    virtual std::string utf8ToAnsi(const std::string& utf8) = 0;
};
