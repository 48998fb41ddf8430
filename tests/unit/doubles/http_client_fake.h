// HttpClient for native tests: pages are served from a table by exact URL, through the
// same NUL cut as the real client; a URL not in the table cannot be reached (-1). Every
// request is recorded with its method, URL and body as sent.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "classifier/http_client.h"

class HttpClientFake : public HttpClient {
public:
    struct Request {
        std::string method;  // "GET" or "POST"
        std::string url;
        std::string body;    // POST only
    };

    int FetchPage(const std::string& url, std::string& out) override;
    int PostForm(const std::string& url, bool readResponse, std::string& body) override;

    // Serves page (any bytes, NULs included) at url for GET and POST.
    void serve(const std::string& url, const std::string& page) { pages_[url] = page; }
    void unserve(const std::string& url) { pages_.erase(url); }
    // Requests to url take too long: given up on after they were sent (kRequestGivenUp).
    void hang(const std::string& url) { hanging_.insert(url); }

    const std::vector<Request>& requests() const { return requests_; }
    std::vector<Request> requestsTo(const std::string& url) const;

private:
    int respond(const std::string& url, std::string& out);

    std::map<std::string, std::string> pages_;
    std::set<std::string> hanging_;
    std::vector<Request> requests_;
};
