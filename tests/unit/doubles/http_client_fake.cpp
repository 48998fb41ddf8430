#include "doubles/http_client_fake.h"

#include <algorithm>

int HttpClientFake::FetchPage(const std::string& url, std::string& out)
{
    requests_.push_back({"GET", url, ""});
    if (hanging_.count(url) != 0) {
        return kRequestGivenUp;
    }
    return respond(url, out);
}

int HttpClientFake::PostForm(const std::string& url, bool readResponse, std::string& body)
{
    requests_.push_back({"POST", url, body});
    if (hanging_.count(url) != 0) {
        return kRequestGivenUp;
    }
    if (pages_.count(url) == 0) {
        return -1;
    }
    body.clear();
    return readResponse ? respond(url, body) : 0;
}

std::vector<HttpClientFake::Request> HttpClientFake::requestsTo(const std::string& url) const
{
    std::vector<Request> found;
    std::copy_if(requests_.begin(), requests_.end(), std::back_inserter(found),
                 [&url](const Request& request) { return request.url == url; });
    return found;
}

int HttpClientFake::respond(const std::string& url, std::string& out)
{
    const auto page = pages_.find(url);
    if (page == pages_.end()) {
        return -1;
    }
    const std::string& bytes = page->second;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kResponseChunkSize) {
        const std::size_t count = std::min(kResponseChunkSize, bytes.size() - offset);
        AppendResponseChunk(out, bytes.data() + offset, count);
    }
    return static_cast<int>(bytes.size());
}
