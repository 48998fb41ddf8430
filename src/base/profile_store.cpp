#include "base/profile_store.h"

#include <cstring>

std::vector<std::string> SplitKeyList(const char* list, std::size_t length)
{
    std::vector<std::string> names;
    std::size_t pos = 0;
    while (pos < length) {
        const void* end = std::memchr(list + pos, '\0', length - pos);
        const std::size_t nameLength =
            end != nullptr ? static_cast<const char*>(end) - (list + pos) : length - pos;
        if (nameLength == 0) {
            break;
        }
        names.emplace_back(list + pos, nameLength);
        pos += nameLength + 1;
    }
    return names;
}
