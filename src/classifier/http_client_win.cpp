#include "classifier/http_client_win.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

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

HINTERNET OpenInternet()
{
    return InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

// Reads the response in chunks until a read fails or reports no bytes; returns the bytes read.
int ReadResponse(HINTERNET request, std::string& out)
{
    char chunk[kResponseChunkSize + 1];
    int total = 0;
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request, chunk, kResponseChunkSize, &read) || read == 0) {
            break;
        }
        chunk[read] = '\0';
        AppendResponseChunk(out, chunk, read);
        total += static_cast<int>(read);
    }
    return total;
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

int WinInetHttpClient::FetchPage(const std::string& url, std::string& out)
{
    InternetHandle internet(OpenInternet());
    if (!internet) {
        return -1;
    }
    InternetHandle page(InternetOpenUrlA(internet.get(), url.c_str(), nullptr, 0,
                                         INTERNET_FLAG_RELOAD, 0));
    if (!page) {
        return -1;
    }
    return ReadResponse(page.get(), out);
}

int WinInetHttpClient::PostForm(const std::string& url, bool readResponse, std::string& body)
{
    InternetHandle internet(OpenInternet());
    if (!internet) {
        return -1;
    }
    UrlParts parts;
    if (!CrackUrl(url, parts)) {
        return -1;
    }
    InternetHandle connection(InternetConnectA(internet.get(), parts.hostName.data(), parts.port,
                                               nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        return -1;
    }
    // The query part stays behind: the form goes to the path alone.
    InternetHandle request(HttpOpenRequestA(connection.get(), "POST", parts.urlPath.data(),
                                            nullptr, nullptr, nullptr, 0, 0));
    if (!request) {
        return -1;
    }
    if (!HttpSendRequestA(request.get(), nullptr, 0, const_cast<char*>(body.data()),
                          static_cast<DWORD>(body.size()))) {
        return -1;
    }
    body.clear();
    return readResponse ? ReadResponse(request.get(), body) : 0;
}
