// UrlOpener over ShellExecuteA: the system's browser opens the address.
#pragma once

#include "host/url_opener.h"

class ShellUrlOpener : public UrlOpener {
public:
    void open(const std::string& address) override;
};
