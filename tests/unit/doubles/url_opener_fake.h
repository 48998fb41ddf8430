// UrlOpener for native tests: records the addresses handed to the browser.
#pragma once

#include <string>
#include <vector>

#include "host/url_opener.h"

class UrlOpenerFake : public UrlOpener {
public:
    void open(const std::string& address) override { opened.push_back(address); }

    std::vector<std::string> opened;
};
