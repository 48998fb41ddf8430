// A stand-in for the classifier's web interface, for the Wine tests and the dialog tour: an
// HTTP server on 127.0.0.1 and an ephemeral port, run by a thread of the program, started and
// stopped by the test (or tour) itself.
//
// It is as strict as the real classifier where the plug-in could get away with less:
// - every request is answered "200 OK" with the page for its path (an empty page for
//   unknown paths), and the connection is closed after the answer;
// - a POST body is read by its Content-Length alone; a Content-Type is ignored;
// - a POST to "/history" is taken as a correction only when its "session" field holds the
//   current session key; with any other key it counts as an expired session: 200 with the
//   Session Expired page (its heading '<h2 class="session">', unless a page was set for
//   "/history"), and nothing is recorded as a correction.
// Every request is recorded exactly as it arrived (request line, header lines, body bytes).
//
// Pages: "/" (the start page) and "/buckets" are generated from the session key and the
// bucket list, with the markers the plug-in looks for; either can be replaced by any bytes
// (huge pages, NUL bytes, pages without markers). With setAsksPassword every path gets the
// password page, as the classifier serves it while its web interface is locked.
//
// Manners (setManner): besides answering, it can be hostile the ways a broken or hung
// classifier is: read the request and never answer (the connection stays open until
// releaseHeldConnections() or the end), answer one byte a second, close in the middle of
// the status header, redirect every request elsewhere, or answer 10 MB without markers.
#pragma once

#include <windows.h>
#include <winsock.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class StandInClassifier {
public:
    enum class Manner { Answers, NeverAnswers, ByteASecond, ClosesMidHeader, Redirects, TenMegabytes };

    struct Request {
        std::string method;   // "GET", "POST"
        std::string target;   // as on the request line: path and query
        std::vector<std::pair<std::string, std::string>> headers;  // names as sent
        std::string body;

        // The value of the first header of that name (any letter case); nothing when absent.
        std::optional<std::string> header(const std::string& name) const
        {
            for (const auto& [key, value] : headers) {
                if (lstrcmpiA(key.c_str(), name.c_str()) == 0) {
                    return value;
                }
            }
            return std::nullopt;
        }
    };

    StandInClassifier()
    {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = inet_addr("127.0.0.1");
        address.sin_port = 0;
        if (listener_ == INVALID_SOCKET ||
            bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 16) != 0) {
            return;
        }
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }

    ~StandInClassifier()
    {
        stopping_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        releaseHeldConnections();
        if (listener_ != INVALID_SOCKET) {
            closesocket(listener_);
        }
        if (pop3_ != INVALID_SOCKET) {
            closesocket(pop3_);
        }
        if (started_) {
            WSACleanup();
        }
    }

    StandInClassifier(const StandInClassifier&) = delete;
    StandInClassifier& operator=(const StandInClassifier&) = delete;

    bool running() const { return port_ != 0; }
    int port() const { return port_; }
    // "http://127.0.0.1:<port>/", the base address the plug-in's URL setting holds.
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

    // The classifier's POP3 port, for the start-up probe: a loopback port that is reserved
    // at once but refuses connections, as while the classifier is still starting, until
    // listenOnPop3Port(). Nothing is ever read or sent there. 0 when no port could be had.
    int reservePop3Port()
    {
        if (pop3_ == INVALID_SOCKET) {
            pop3_ = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in address = {};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = inet_addr("127.0.0.1");
            int length = sizeof address;
            if (pop3_ == INVALID_SOCKET ||
                bind(pop3_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
                getsockname(pop3_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
                return 0;
            }
            pop3Port_ = ntohs(address.sin_port);
        }
        return pop3Port_;
    }
    // The classifier has started: its POP3 port accepts connections from now on.
    bool listenOnPop3Port() { return pop3_ != INVALID_SOCKET && listen(pop3_, 16) == 0; }

    void setManner(Manner manner) { locked([&] { manner_ = manner; }); }
    // Where a redirect points (Manner::Redirects).
    void setRedirectTarget(const std::string& url) { locked([&] { redirectTarget_ = url; }); }
    // Closes the connections kept open without an answer, and ends a slow answer.
    void releaseHeldConnections()
    {
        releaseSlow_ = true;
        const std::vector<SOCKET> held = locked([&] { return std::exchange(held_, {}); });
        for (SOCKET connection : held) {
            closesocket(connection);
        }
    }

    void setSessionKey(const std::string& key) { locked([&] { sessionKey_ = key; }); }
    void setAsksPassword(bool asks)
    {
        locked([&] { asksPassword_ = asks; });
    }
    void setBuckets(const std::vector<std::string>& buckets) { locked([&] { buckets_ = buckets; }); }
    // Serves bytes at path ("/", "/buckets", ...) instead of the generated page.
    void setPage(const std::string& path, const std::string& bytes)
    {
        locked([&] { pages_[path] = bytes; });
    }

    std::string sessionKey() const { return locked([&] { return sessionKey_; }); }
    std::vector<Request> requests() const { return locked([&] { return requests_; }); }
    // Forgets the requests recorded so far (a long run keeps no more than a short one).
    void forgetRequests()
    {
        locked([&] {
            requests_.clear();
            corrections_.clear();
        });
    }
    // The POSTs to "/history" that carried the current session key.
    std::vector<Request> corrections() const { return locked([&] { return corrections_; }); }
    // The recorded requests whose target is exactly target.
    std::vector<Request> requestsTo(const std::string& target) const
    {
        std::vector<Request> found;
        for (const Request& request : requests()) {
            if (request.target == target) {
                found.push_back(request);
            }
        }
        return found;
    }

    // The start page and the bucket page as the real classifier lays out its links.
    std::string generatedStartPage() const
    {
        return locked([&] {
            return "<html><head><title>POPFile Control Center</title></head><body>\n"
                   "<a class=\"menuLink\" href=\"/history?session=" + sessionKey_ +
                   "\">History</a>\n<a class=\"menuLink\" href=\"/buckets?session=" +
                   sessionKey_ + "\">Buckets</a>\n</body></html>\n";
        });
    }
    std::string generatedBucketPage() const
    {
        return locked([&] {
            std::string page = "<html><body>\n<a class=\"menuLink\" href=\"/history?session=" +
                               sessionKey_ + "\">History</a>\n<table>\n";
            for (const std::string& bucket : buckets_) {
                page += "<tr><td><a href=\"/buckets?session=" + sessionKey_ +
                        "&amp;showbucket=" + bucket + "\">" + bucket + "</a></td></tr>\n";
            }
            return page + "</table></body></html>\n";
        });
    }

    // The page every path shows while the web interface asks for a password.
    static std::string PasswordPage()
    {
        return "<html><head><title>POPFile Control Center</title></head><body>\n"
               "<h2 class=\"password\">Password</h2>\n<form action=\"/password\" method=\"post\">\n"
               "<input type=\"password\" name=\"password\">\n</form></body></html>\n";
    }

private:
    template <typename F>
    auto locked(F action) const -> decltype(action())
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return action();
    }

    void serve()
    {
        while (!stopping_) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(listener_, &readable);
            timeval wait = {0, 50 * 1000};
            if (select(0, &readable, nullptr, nullptr, &wait) <= 0) {
                continue;
            }
            SOCKET connection = accept(listener_, nullptr, nullptr);
            if (connection != INVALID_SOCKET && answer(connection)) {
                closesocket(connection);
            }
        }
    }

    // Reads one request; false when the connection ends before a whole one arrived.
    static bool receiveRequest(SOCKET connection, Request& request)
    {
        std::string received;
        std::size_t headerEnd;
        while ((headerEnd = received.find("\r\n\r\n")) == std::string::npos) {
            if (!receiveMore(connection, received)) {
                return false;
            }
        }
        std::size_t lineEnd = received.find("\r\n");
        const std::string requestLine = received.substr(0, lineEnd);
        const std::size_t firstSpace = requestLine.find(' ');
        const std::size_t secondSpace = requestLine.find(' ', firstSpace + 1);
        if (firstSpace == std::string::npos || secondSpace == std::string::npos) {
            return false;
        }
        request.method = requestLine.substr(0, firstSpace);
        request.target = requestLine.substr(firstSpace + 1, secondSpace - firstSpace - 1);
        std::size_t contentLength = 0;
        for (std::size_t start = lineEnd + 2; start < headerEnd; start = lineEnd + 2) {
            lineEnd = received.find("\r\n", start);
            const std::string line = received.substr(start, lineEnd - start);
            const std::size_t colon = line.find(':');
            std::string name = line.substr(0, colon);
            std::string value = colon == std::string::npos ? "" : line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            if (lstrcmpiA(name.c_str(), "Content-Length") == 0) {
                contentLength = std::strtoul(value.c_str(), nullptr, 10);
            }
            request.headers.emplace_back(std::move(name), std::move(value));
        }
        std::string body = received.substr(headerEnd + 4);
        while (body.size() < contentLength) {
            if (!receiveMore(connection, body)) {
                return false;
            }
        }
        request.body = body.substr(0, contentLength);
        return true;
    }

    static bool receiveMore(SOCKET connection, std::string& received)
    {
        char chunk[4096];
        const int count = recv(connection, chunk, sizeof chunk, 0);
        if (count <= 0) {
            return false;
        }
        received.append(chunk, static_cast<std::size_t>(count));
        return true;
    }

    static std::string formField(const std::string& body, const std::string& name)
    {
        const std::string key = name + "=";
        for (std::size_t start = 0; start <= body.size();) {
            std::size_t end = body.find('&', start);
            if (end == std::string::npos) {
                end = body.size();
            }
            if (body.compare(start, key.size(), key) == 0) {
                return body.substr(start + key.size(), end - start - key.size());
            }
            start = end + 1;
        }
        return "";
    }

    std::string pageFor(const std::string& target)
    {
        const std::string path = target.substr(0, target.find('?'));
        if (locked([&] { return asksPassword_; })) {
            return PasswordPage();
        }
        const auto replaced = locked([&] {
            const auto page = pages_.find(path);
            return page != pages_.end() ? std::optional<std::string>(page->second) : std::nullopt;
        });
        if (replaced) {
            return *replaced;
        }
        if (path == "/") {
            return generatedStartPage();
        }
        if (path == "/buckets") {
            return generatedBucketPage();
        }
        return "<html><body>page</body></html>\n";
    }

    // Sends bytes, one a second when slow, until sent, the peer is gone, the slow answer is
    // released or the stand-in stops. A peer that stops reading never blocks the stand-in:
    // it sends only what the connection takes at once.
    bool sendAll(SOCKET connection, const std::string& bytes, bool slow)
    {
        const std::size_t step = slow ? 1 : 64 * 1024;
        u_long nonBlocking = 1;
        ioctlsocket(connection, FIONBIO, &nonBlocking);
        for (std::size_t sent = 0; sent < bytes.size() && !stopping_;) {
            if (slow && (releaseSlow_ || (sent > 0 && !pauseOneSecond()))) {
                return false;
            }
            if (!writable(connection)) {
                continue;
            }
            const int count = send(connection, bytes.data() + sent,
                                   static_cast<int>(std::min(step, bytes.size() - sent)), 0);
            if (count == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
                continue;
            }
            if (count <= 0) {
                return false;
            }
            sent += static_cast<std::size_t>(count);
        }
        return true;
    }

    // True when the connection takes more bytes now; waits at most 50 ms for that.
    static bool writable(SOCKET connection)
    {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(connection, &ready);
        timeval wait = {0, 50 * 1000};
        return select(0, nullptr, &ready, nullptr, &wait) > 0;
    }

    // False when the wait was cut short by a release or the end.
    bool pauseOneSecond()
    {
        for (int i = 0; i < 20; ++i) {
            if (stopping_ || releaseSlow_) {
                return false;
            }
            Sleep(50);
        }
        return true;
    }

    // Answers one request in the current manner; false when the connection is kept open.
    bool answer(SOCKET connection)
    {
        Request request;
        if (!receiveRequest(connection, request)) {
            return true;
        }
        locked([&] {
            requests_.push_back(request);
            if (request.method == "POST" && request.target.substr(0, 8) == "/history" &&
                formField(request.body, "session") == sessionKey_) {
                corrections_.push_back(request);
            }
            return 0;
        });
        const Manner manner = locked([&] { return manner_; });
        switch (manner) {
        case Manner::NeverAnswers:
            locked([&] { held_.push_back(connection); });
            return false;
        case Manner::ClosesMidHeader:
            sendAll(connection, "HTTP/1.1 200 OK\r\nContent-Ty", false);
            return true;
        case Manner::Redirects:
            sendAll(connection,
                    "HTTP/1.1 302 Found\r\nLocation: " + locked([&] { return redirectTarget_; }) +
                        "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n",
                    false);
            return true;
        case Manner::TenMegabytes:
            sendAll(connection, Response(std::string(10 * 1024 * 1024, 'x')), false);
            return true;
        case Manner::ByteASecond:
            releaseSlow_ = false;
            sendAll(connection, Response(pageFor(request.target)), true);
            return true;
        case Manner::Answers:
            break;
        }
        // A page set for "/history" answers every post to it, as the tests ask.
        const bool expired = request.method == "POST" && request.target.substr(0, 8) == "/history" &&
                             formField(request.body, "session") != sessionKey() &&
                             locked([&] { return pages_.count("/history") == 0; });
        sendAll(connection, Response(expired ? SessionExpiredPage() : pageFor(request.target)), false);
        return true;
    }

    static std::string SessionExpiredPage()
    {
        return "<html><body><h2 class=\"session\">Session Expired</h2><br /><br />"
               "This POPFile session has expired.</body></html>\n";
    }

    static std::string Response(const std::string& page)
    {
        return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
               std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" + page;
    }

    bool started_ = false;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    SOCKET pop3_ = INVALID_SOCKET;
    int pop3Port_ = 0;
    std::atomic<bool> releaseSlow_{false};
    std::thread thread_;

    mutable std::mutex mutex_;
    std::string sessionKey_ = "5a1e8c0d3b7f4e2a9c6d0b1f8e3a7c52";
    std::vector<std::string> buckets_ = {"spam", "work", "personal"};
    std::map<std::string, std::string> pages_;
    Manner manner_ = Manner::Answers;
    bool asksPassword_ = false;
    std::string redirectTarget_;
    std::vector<SOCKET> held_;
    std::vector<Request> requests_;
    std::vector<Request> corrections_;
};
