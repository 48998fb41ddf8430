// PortProber over Windows Sockets 1.1 (wsock32).
#pragma once

#include "classifier/classifier_probe.h"

class WinsockPortProber : public PortProber {
public:
    int ProbeClassifierPort(const std::string& server, int32_t port) override;
};
