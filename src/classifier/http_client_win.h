// WinINet implementation of HttpClient: every call opens its own internet handle and
// closes all its handles before returning. Runs on the caller's thread and blocks it.
#pragma once

#include "classifier/http_client.h"

class WinInetHttpClient : public HttpClient {
public:
    int FetchPage(const std::string& url, std::string& out) override;
    int PostForm(const std::string& url, bool readResponse, std::string& body) override;
};
