// PortProber for native tests: answers a set result (per server where one is set) and
// records every probe.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "classifier/classifier_probe.h"

class PortProberFake : public PortProber {
public:
    int ProbeClassifierPort(const std::string& server, int32_t port) override
    {
        probes.emplace_back(server, port);
        const auto own = resultFor.find(server);
        return own != resultFor.end() ? own->second : result;
    }

    int result = 0;  // 0 connected, -1 failed, -2 sockets unusable or unknown server
    std::map<std::string, int> resultFor;  // the result for one server instead
    std::vector<std::pair<std::string, int32_t>> probes;
};
