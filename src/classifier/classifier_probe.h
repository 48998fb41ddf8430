// Whether the classifier accepts connections on its POP3 port, for the start-up wait.
// The account's POP3 server and port come from the host's account file, read once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/host_api.h"

class ProfileStore;

// A plain TCP connection attempt; the Win32 implementation (classifier_probe_win.cpp) uses
// Windows Sockets 1.1, tests use a fake.
class PortProber {
public:
    virtual ~PortProber() = default;

    // 0 connected, -1 connection refused or failed, -2 sockets unusable or server unknown,
    // kProbeGivenUp from a prober with a deadline when it passed first. Nothing is sent; the
    // connection is closed at once.
    virtual int ProbeClassifierPort(const std::string& server, int32_t port) = 0;
};

// What a prober with a deadline returns when the attempt was still going on at the deadline.
inline constexpr int kProbeGivenUp = -3;

// The POP3 server and port of a host account, as its "account.ini" ([Property] "POP3Server",
// "POP3Port") gives them.
struct ClassifierAccount {
    std::string server;
    int32_t port = 0;  // 0 when missing or not a number
};

// The account of window as the host names it; nothing when the host names no account folder.
// A missing account file gives an empty server and port 0.
std::optional<ClassifierAccount> ReadClassifierAccount(const HostApi& host, ProfileStore& profile,
                                                       HostWindow window);

// What the probe keeps, for the life of the plug-in, once the account file has been read.
struct ClassifierProbeState {
    HostWindow window = nullptr;  // the last window given; its account is the one read
    int32_t connectValue = -1;    // the account's "Connect"; -1 while not read
    int32_t port = 0;             // the account's "POP3Port"; 0 while not read
    std::string server;           // the account's "POP3Server"
};

// True when the classifier is reachable or no check is needed; false only when a TCP
// connection to the account's POP3 server and port failed. window may be null (a repeat
// test for the window given before). A missing account, an unreadable account file, no
// port, a port beyond 65535, unusable sockets or an unknown server all count as reachable,
// so that start-up never waits for a classifier it cannot find.
bool IsClassifierReachable(ClassifierProbeState& probe, const HostApi& host,
                           ProfileStore& profile, PortProber& prober, HostWindow window);
