// WinINet implementation of HttpClient. Every request runs on a thread of its own that
// opens its own internet handle and closes all its handles; the caller waits for it at most
// the deadline (kRequestDeadlineMs in the plug-in) and then gives up on it as on an
// unreachable classifier. Redirects are
// not followed: the pages come from the classifier's own address or not at all.
#pragma once

#include <memory>

#include "classifier/http_client.h"

class RequestTracker;

class WinInetHttpClient : public HttpClient {
public:
    explicit WinInetHttpClient(unsigned deadlineMs = kRequestDeadlineMs);
    int FetchPage(const std::string& url, std::string& out) override;
    int PostForm(const std::string& url, bool readResponse, std::string& body) override;

private:
    // Shared with the requests still running, which may outlive the client.
    std::shared_ptr<RequestTracker> tracker_;
    unsigned deadlineMs_;
};
