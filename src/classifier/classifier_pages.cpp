#include "classifier/classifier_pages.h"

#include <limits>

#include "base/sjis.h"

namespace {
constexpr std::string_view kJumpMarker = "jump";
constexpr std::string_view kViewMarker = "view=";
constexpr std::string_view kSessionMarker = "/history?session=";
constexpr std::string_view kBucketMarker = "showbucket=";
constexpr std::string_view kHttpScheme = "http://";
constexpr std::string_view kHttpsScheme = "https://";

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The text from start up to the next double quote; nothing when no quote follows.
std::optional<std::string_view> TextUpToQuote(std::string_view page, std::size_t start)
{
    const std::size_t quote = page.find('"', start);
    if (quote == std::string_view::npos) {
        return std::nullopt;
    }
    return page.substr(start, quote - start);
}

bool HoldsLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A port as a URL may write it: one to five decimal digits, at most 65535.
bool IsPort(std::string_view text)
{
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    return std::stoul(std::string(text)) <= 65535;
}

// The authority of an http or https address: what follows "//" up to the path, query or
// fragment. Nothing for any other scheme.
std::optional<std::string_view> Authority(std::string_view address)
{
    std::string_view rest;
    if (StartsWith(address, kHttpScheme)) {
        rest = address.substr(kHttpScheme.size());
    } else if (StartsWith(address, kHttpsScheme)) {
        rest = address.substr(kHttpsScheme.size());
    } else {
        return std::nullopt;
    }
    return rest.substr(0, rest.find_first_of("/?#"));
}
}  // namespace

std::optional<std::string> ClassifierBaseFromLink(std::string_view link)
{
    const std::size_t jump = link.find(kJumpMarker);
    if (jump == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(link.substr(0, jump));
}

bool IsClassifierAddress(std::string_view address)
{
    return StartsWith(address, kHttpScheme);
}

bool IsBrowsableAddress(std::string_view address)
{
    return StartsWith(address, kHttpScheme) || StartsWith(address, kHttpsScheme);
}

bool IsLocalAddress(std::string_view address)
{
    const std::optional<std::string_view> authority = Authority(address);
    if (!authority) {
        return false;
    }
    // Only the bytes a loopback host and a port are made of: no user information, escape,
    // backslash or blank can hide another host behind a local-looking start.
    if (authority->find_first_not_of("0123456789.:[]abcdefghijklmnopqrstuvwxyz"
                                     "ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string_view::npos) {
        return false;
    }
    std::string_view host = *authority;
    const std::size_t portColon = host.rfind(':');
    if (portColon != std::string_view::npos && host.find(']', portColon) == std::string_view::npos) {
        if (!IsPort(host.substr(portColon + 1))) {
            return false;
        }
        host = host.substr(0, portColon);
    }
    return host == "127.0.0.1" || host == "[::1]" || EqualsNoCase(host, "localhost");
}

bool IsTrustedLink(std::string_view link, std::string_view url)
{
    if (IsLocalAddress(link)) {
        return true;
    }
    if (url.empty() || !StartsWith(link, url)) {
        return false;
    }
    // "http://host:8080" must not vouch for "http://host:8080.elsewhere/".
    return url.back() == '/' || link.size() == url.size() ||
           std::string_view("/?#").find(link[url.size()]) != std::string_view::npos;
}

std::optional<int32_t> ViewNumberFromLink(std::string_view link)
{
    const std::size_t digitsStart = FindPastNoCase(link, kViewMarker);
    if (digitsStart == std::string_view::npos) {
        return std::nullopt;
    }
    constexpr int64_t kLargest = std::numeric_limits<int32_t>::max();
    int64_t number = 0;
    for (std::size_t i = digitsStart; i < link.size() && link[i] >= '0' && link[i] <= '9'; ++i) {
        number = number * 10 + (link[i] - '0');
        if (number > kLargest) {
            // A number the classifier cannot have given names no message of it.
            return 0;
        }
    }
    return static_cast<int32_t>(number);
}

std::optional<SessionKeyMatch> FindSessionKey(std::string_view page)
{
    const std::size_t keyStart = FindPastNoCase(page, kSessionMarker);
    if (keyStart == std::string_view::npos) {
        return std::nullopt;
    }
    // A later marker can have no quote after it when this one has none.
    const std::optional<std::string_view> key = TextUpToQuote(page, keyStart);
    if (!key) {
        return std::nullopt;
    }
    return SessionKeyMatch{std::string(*key), keyStart - kSessionMarker.size()};
}

std::vector<std::string> FindBucketNames(std::string_view page, std::size_t from)
{
    std::vector<std::string> names;
    std::size_t position = from;
    while (position < page.size()) {
        const std::size_t found = FindPastNoCase(page.substr(position), kBucketMarker);
        if (found == std::string_view::npos) {
            break;
        }
        const std::size_t nameStart = position + found;
        const std::optional<std::string_view> name = TextUpToQuote(page, nameStart);
        if (!name) {
            break;
        }
        if (!HoldsLineBreak(*name)) {
            names.emplace_back(*name);
        }
        position = nameStart + name->size() + 1;
    }
    return names;
}

bool IsSessionExpiredPage(std::string_view page)
{
    return FindPastNoCase(page, "<h2 class=\"session\">") != std::string_view::npos;
}

bool IsPasswordPage(std::string_view page)
{
    return FindPastNoCase(page, "<h2 class=\"password\">") != std::string_view::npos ||
           FindPastNoCase(page, "action=\"/password\"") != std::string_view::npos;
}
