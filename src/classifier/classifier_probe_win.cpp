#include "classifier/classifier_probe_win.h"

#include <winsock.h>

#include <cstring>
#include <memory>

#include "classifier/deadline_worker_win.h"

namespace {
// One use of Windows Sockets, asked for version 1.1; cleans up only what it started.
class WinsockSession {
public:
    WinsockSession()
    {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
        usable_ = started_ && data.wVersion == MAKEWORD(1, 1);
    }
    ~WinsockSession()
    {
        if (started_) {
            WSACleanup();
        }
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

    bool usable() const { return usable_; }

private:
    bool started_ = false;
    bool usable_ = false;
};

class Socket {
public:
    Socket() : socket_(socket(AF_INET, SOCK_STREAM, 0)) {}
    ~Socket()
    {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool valid() const { return socket_ != INVALID_SOCKET; }
    SOCKET get() const { return socket_; }

private:
    SOCKET socket_;
};

// The server's IPv4 address: a dotted address as it stands, else the name's first address.
bool ResolveServer(const std::string& server, in_addr& address)
{
    const unsigned long dotted = inet_addr(server.c_str());
    if (dotted != INADDR_NONE) {
        address.s_addr = dotted;
        return true;
    }
    const hostent* host = gethostbyname(server.c_str());
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_addr_list == nullptr ||
        host->h_addr_list[0] == nullptr) {
        return false;
    }
    std::memcpy(&address, host->h_addr_list[0], sizeof address);
    return true;
}
}  // namespace

int WinsockPortProber::ProbeClassifierPort(const std::string& server, int32_t port)
{
    WinsockSession session;
    if (!session.usable()) {
        return -2;
    }
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<u_short>(port));
    if (!ResolveServer(server, target.sin_addr)) {
        return -2;
    }
    Socket connection;
    if (!connection.valid()) {
        return -2;
    }
    const bool connected = connect(connection.get(), reinterpret_cast<const sockaddr*>(&target),
                                   sizeof target) == 0;
    return connected ? 0 : -1;
}

int DeadlinePortProber::ProbeClassifierPort(const std::string& server, int32_t port)
{
    // The thread may outlive this call: it gets its own copies and shares only the result.
    auto result = std::make_shared<int>(-2);
    const DeadlineOutcome outcome = RunWithDeadline(
        [server, port, result] {
            WinsockPortProber prober;
            *result = prober.ProbeClassifierPort(server, port);
        },
        deadlineMs_);
    switch (outcome) {
    case DeadlineOutcome::Finished:
        return *result;
    case DeadlineOutcome::Abandoned:
        return kProbeGivenUp;
    case DeadlineOutcome::NotRun:
        break;
    }
    return -2;
}
