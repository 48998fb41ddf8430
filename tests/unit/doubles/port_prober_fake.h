// PortProber for native tests: answers a set result and records every probe.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "classifier/classifier_probe.h"

class PortProberFake : public PortProber {
public:
    int ProbeClassifierPort(const std::string& server, int32_t port) override
    {
        probes.emplace_back(server, port);
        return result;
    }

    int result = 0;  // 0 connected, -1 failed, -2 sockets unusable or unknown server
    std::vector<std::pair<std::string, int32_t>> probes;
};
