#include "classifier/http_client_win.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "classifier/deadline_worker_win.h"

namespace {
constexpr const char* kUserAgent = "tarnwick";

// Buffer sizes for the parts of a POST address.
constexpr DWORD kSchemeSize = 1000;
constexpr DWORD kHostNameSize = 1000;
constexpr DWORD kUserNameSize = 100;
constexpr DWORD kPasswordSize = 100;
constexpr DWORD kUrlPathSize = 1000;
constexpr DWORD kExtraInfoSize = 1000;

// Owns one WinINet handle; closing in reverse order of declaration closes the innermost
// handle first.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    ~InternetHandle()
    {
        if (handle_ != nullptr) {
            InternetCloseHandle(handle_);
        }
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

// An internet handle whose connect, send and receive time-outs are set explicitly (the
// system's defaults are far longer); handles opened from it inherit them. Wine ignores
// them, which the caller's deadline covers.
HINTERNET OpenInternet()
{
    HINTERNET internet = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (internet != nullptr) {
        DWORD timeout = kRequestDeadlineMs;
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT}) {
            InternetSetOptionA(internet, option, &timeout, sizeof timeout);
        }
    }
    return internet;
}

// Reads the response until a read fails or reports no bytes, or kResponseLimit bytes are
// read; returns the bytes read. The system is asked for many chunks at a time (a read per
// kilobyte made a 4 MB answer take seconds under emulation), and what arrives is handed on
// in kResponseChunkSize pieces, each cut at its first NUL.
int ReadResponse(HINTERNET request, std::string& out)
{
    constexpr std::size_t kReadSize = 64 * kResponseChunkSize;
    std::vector<char> buffer(kReadSize);
    std::size_t total = 0;
    while (total < kResponseLimit) {
        const DWORD wanted = static_cast<DWORD>(std::min(kReadSize, kResponseLimit - total));
        DWORD read = 0;
        if (!InternetReadFile(request, buffer.data(), wanted, &read) || read == 0) {
            break;
        }
        for (std::size_t offset = 0; offset < read; offset += kResponseChunkSize) {
            AppendResponseChunk(out, buffer.data() + offset,
                                std::min<std::size_t>(kResponseChunkSize, read - offset));
        }
        total += read;
    }
    return static_cast<int>(total);
}

// The parts of a POST address, in buffers of the sizes WinINet is given.
struct UrlParts {
    std::vector<char> scheme = std::vector<char>(kSchemeSize);
    std::vector<char> hostName = std::vector<char>(kHostNameSize);
    std::vector<char> userName = std::vector<char>(kUserNameSize);
    std::vector<char> password = std::vector<char>(kPasswordSize);
    std::vector<char> urlPath = std::vector<char>(kUrlPathSize);
    std::vector<char> extraInfo = std::vector<char>(kExtraInfoSize);
    INTERNET_PORT port = 0;
};

bool CrackUrl(const std::string& url, UrlParts& parts)
{
    URL_COMPONENTSA components = {};
    components.dwStructSize = sizeof components;
    components.lpszScheme = parts.scheme.data();
    components.dwSchemeLength = kSchemeSize;
    components.lpszHostName = parts.hostName.data();
    components.dwHostNameLength = kHostNameSize;
    components.lpszUserName = parts.userName.data();
    components.dwUserNameLength = kUserNameSize;
    components.lpszPassword = parts.password.data();
    components.dwPasswordLength = kPasswordSize;
    components.lpszUrlPath = parts.urlPath.data();
    components.dwUrlPathLength = kUrlPathSize;
    components.lpszExtraInfo = parts.extraInfo.data();
    components.dwExtraInfoLength = kExtraInfoSize;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &components)) {
        return false;
    }
    parts.port = components.nPort;
    return true;
}

}  // namespace

// One request as its thread sees it: what to send, and what came back. The caller reads the
// results only once the thread has finished.
struct WinInetExchange {
    std::string url;
    std::string body;
    bool readResponse = false;
    std::string origin;

    int result = -1;
    bool sent = false;  // the POST body went out
    std::string response;

    bool finished = false;   // both guarded by the tracker's lock
    bool abandoned = false;
};

// The requests given up on that are still running, by origin.
class RequestTracker {
public:
    RequestTracker() { InitializeCriticalSection(&lock_); }
    ~RequestTracker() { DeleteCriticalSection(&lock_); }
    RequestTracker(const RequestTracker&) = delete;
    RequestTracker& operator=(const RequestTracker&) = delete;

    // False while a request to origin that was given up on still runs, or too many do.
    bool admits(const std::string& origin)
    {
        Locked locked(lock_);
        const auto running = abandoned_.find(origin);
        return total_ < kMostAbandonedRequests && (running == abandoned_.end() || running->second == 0);
    }

    // The caller gave up on exchange.
    void abandon(WinInetExchange& exchange)
    {
        Locked locked(lock_);
        if (!exchange.finished) {
            exchange.abandoned = true;
            ++abandoned_[exchange.origin];
            ++total_;
        }
    }

    // The request's thread is done with exchange.
    void finish(WinInetExchange& exchange)
    {
        Locked locked(lock_);
        exchange.finished = true;
        if (exchange.abandoned) {
            --abandoned_[exchange.origin];
            --total_;
        }
    }

private:
    class Locked {
    public:
        explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
        ~Locked() { LeaveCriticalSection(&lock_); }
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;

    private:
        CRITICAL_SECTION& lock_;
    };

    CRITICAL_SECTION lock_;
    std::map<std::string, int> abandoned_;
    int total_ = 0;
};

namespace {

void FetchOnThread(WinInetExchange& exchange)
{
    InternetHandle internet(OpenInternet());
    if (!internet) {
        return;
    }
    InternetHandle page(InternetOpenUrlA(internet.get(), exchange.url.c_str(), nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                             INTERNET_FLAG_NO_AUTO_REDIRECT,
                                         0));
    if (!page) {
        return;
    }
    exchange.result = ReadResponse(page.get(), exchange.response);
}

void PostOnThread(WinInetExchange& exchange)
{
    InternetHandle internet(OpenInternet());
    if (!internet) {
        return;
    }
    UrlParts parts;
    if (!CrackUrl(exchange.url, parts)) {
        return;
    }
    InternetHandle connection(InternetConnectA(internet.get(), parts.hostName.data(), parts.port,
                                               nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        return;
    }
    // The query part stays behind: the form goes to the path alone.
    InternetHandle request(HttpOpenRequestA(connection.get(), "POST", parts.urlPath.data(),
                                            nullptr, nullptr, nullptr,
                                            INTERNET_FLAG_NO_AUTO_REDIRECT, 0));
    if (!request) {
        return;
    }
    if (!HttpSendRequestA(request.get(), nullptr, 0, exchange.body.data(),
                          static_cast<DWORD>(exchange.body.size()))) {
        return;
    }
    exchange.sent = true;
    exchange.result = exchange.readResponse ? ReadResponse(request.get(), exchange.response) : 0;
}

// Runs transfer for exchange on its own thread: Finished with the exchange done, Abandoned
// when the deadline passed first, NotRun when it could not start (or the classifier already
// has requests given up on running).
DeadlineOutcome RunExchange(const std::shared_ptr<RequestTracker>& tracker,
                            const std::shared_ptr<WinInetExchange>& exchange,
                            void (*transfer)(WinInetExchange&), unsigned deadlineMs)
{
    exchange->origin = RequestOrigin(exchange->url);
    if (!tracker->admits(exchange->origin)) {
        return DeadlineOutcome::NotRun;
    }
    const DeadlineOutcome outcome = RunWithDeadline(
        [tracker, exchange, transfer] {
            try {
                transfer(*exchange);
            } catch (...) {
            }
            tracker->finish(*exchange);
        },
        deadlineMs);
    if (outcome == DeadlineOutcome::Abandoned) {
        tracker->abandon(*exchange);
    }
    return outcome;
}
}  // namespace

WinInetHttpClient::WinInetHttpClient(unsigned deadlineMs)
    : tracker_(std::make_shared<RequestTracker>()), deadlineMs_(deadlineMs)
{
}

int WinInetHttpClient::FetchPage(const std::string& url, std::string& out)
{
    auto exchange = std::make_shared<WinInetExchange>();
    exchange->url = url;
    const DeadlineOutcome outcome = RunExchange(tracker_, exchange, FetchOnThread, deadlineMs_);
    if (outcome == DeadlineOutcome::Abandoned) {
        return kRequestGivenUp;
    }
    if (outcome != DeadlineOutcome::Finished || exchange->result < 0) {
        return -1;
    }
    out += exchange->response;
    return exchange->result;
}

int WinInetHttpClient::PostForm(const std::string& url, bool readResponse, std::string& body)
{
    auto exchange = std::make_shared<WinInetExchange>();
    exchange->url = url;
    exchange->body = body;
    exchange->readResponse = readResponse;
    const DeadlineOutcome outcome = RunExchange(tracker_, exchange, PostOnThread, deadlineMs_);
    if (outcome == DeadlineOutcome::Abandoned) {
        return kRequestGivenUp;
    }
    if (outcome != DeadlineOutcome::Finished || !exchange->sent) {
        return -1;
    }
    body = exchange->response;
    return exchange->result;
}
