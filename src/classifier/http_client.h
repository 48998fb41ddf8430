// The two blocking requests that carry every exchange with the classifier's web interface.
// The Win32 implementation (http_client_win.cpp) uses WinINet; tests use a fake.
#pragma once

#include <cstddef>
#include <string>

class HttpClient {
public:
    virtual ~HttpClient() = default;

    // GET of url. Appends the response text to out (see AppendResponseChunk) and returns the
    // number of bytes read, or a negative number when no answer came (out is then unchanged):
    // -1 when no request could be made, kRequestGivenUp when it ran past the deadline.
    // The HTTP status is not examined: an error page is returned like any other.
    virtual int FetchPage(const std::string& url, std::string& out) = 0;

    // POST of body's bytes, unchanged and without added headers, to url's path (a query
    // part is not sent). body is emptied once sent; with readResponse the response text is
    // appended to it. Returns -1 when no request could be made, kRequestGivenUp when it was
    // given up on after it started (the classifier may have received it), else the number of
    // response bytes read (0 when the response was not wanted).
    virtual int PostForm(const std::string& url, bool readResponse, std::string& body) = 0;
};

// What FetchPage and PostForm return for a request that ran past the deadline.
inline constexpr int kRequestGivenUp = -2;

// A response is taken in pieces of this many bytes, each cut at its first NUL.
inline constexpr std::size_t kResponseChunkSize = 1024;

// How long one request may take, from connecting to the last byte of the response, before
// the caller gives up on it as on an unreachable classifier. The host's window waits this
// long at most; the system's own connect, send and receive time-outs are set to it too.
inline constexpr unsigned kRequestDeadlineMs = 5000;

// Response bytes read at most; the rest of a longer answer is left unread. The pages the
// plug-in reads are a few kilobytes; even a list of 10,000 buckets is about 1 MB.
inline constexpr std::size_t kResponseLimit = 4 * 1024 * 1024;

// Requests given up on that may still be running at once. While one to a classifier runs,
// further requests to it fail at once, so a hung classifier costs the window one wait, not
// one per request, and given-up requests cannot pile up.
inline constexpr int kMostAbandonedRequests = 4;

// The scheme, host and port of url in lower case ("http://127.0.0.1:8080"): requests to the
// same origin reach the same classifier.
std::string RequestOrigin(const std::string& url);

// Appends one chunk of response bytes to out, cut at its first NUL byte: a response is
// kept as text, so a NUL inside a chunk drops the rest of that chunk.
void AppendResponseChunk(std::string& out, const char* bytes, std::size_t count);
