// CodePageConverter over MultiByteToWideChar / WideCharToMultiByte.
#pragma once

#include "base/code_page.h"

class Win32CodePageConverter : public CodePageConverter {
public:
    std::string utf8ToAnsi(const std::string& utf8) override;
};
