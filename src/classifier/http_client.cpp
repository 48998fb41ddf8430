#include "classifier/http_client.h"

#include <cctype>
#include <cstring>

void AppendResponseChunk(std::string& out, const char* bytes, std::size_t count)
{
    const void* nul = std::memchr(bytes, '\0', count);
    const std::size_t kept =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : count;
    out.append(bytes, kept);
}

std::string RequestOrigin(const std::string& url)
{
    const std::size_t scheme = url.find("://");
    const std::size_t authority = scheme == std::string::npos ? 0 : scheme + 3;
    std::string origin = url.substr(0, url.find_first_of("/?#", authority));
    for (char& c : origin) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return origin;
}
