// CodePageConverter for native tests: real UTF-8 to Shift-JIS (CP932) through iconv, so
// tests see the bytes the system's converter gives on a Japanese system. Malformed
// UTF-8 and characters CP932 lacks become "?", the system's default character.
// setFailing(true) makes every conversion fail (empty result); calls() counts them.
#pragma once

#include <string>

#include "base/code_page.h"

class CodePageConverterFake : public CodePageConverter {
public:
    std::string utf8ToAnsi(const std::string& utf8) override;

    void setFailing(bool failing) { failing_ = failing; }
    int calls() const { return calls_; }

private:
    bool failing_ = false;
    int calls_ = 0;
};
