#include "classifier/http_client.h"

#include <cstring>

void AppendResponseChunk(std::string& out, const char* bytes, std::size_t count)
{
    const void* nul = std::memchr(bytes, '\0', count);
    const std::size_t kept =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : count;
    out.append(bytes, kept);
}
