// PortProber over Windows Sockets 1.1 (wsock32).
#pragma once

#include "classifier/classifier_probe.h"

class WinsockPortProber : public PortProber {
public:
    int ProbeClassifierPort(const std::string& server, int32_t port) override;
};

// The same probe on a thread of its own, waited for at most deadlineMs: a server that never
// answers the connection attempt, or a name lookup that hangs, gives kProbeGivenUp then, and
// the attempt finishes on its own.
class DeadlinePortProber : public PortProber {
public:
    explicit DeadlinePortProber(unsigned deadlineMs) : deadlineMs_(deadlineMs) {}
    int ProbeClassifierPort(const std::string& server, int32_t port) override;

private:
    unsigned deadlineMs_;
};
