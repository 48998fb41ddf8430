#include "mail/base64.h"

namespace {

bool IsSkippedSpace(char symbol)
{
    return symbol == ' ' || symbol == '\t' || symbol == '\r' || symbol == '\n';
}

// Appends the bytes of a group of count (2-4) six-bit values.
void AppendGroup(const int (&group)[4], int count, std::string& out)
{
    out.push_back(static_cast<char>((group[0] << 2) | (group[1] >> 4)));
    if (count >= 3) {
        out.push_back(static_cast<char>(((group[1] & 0x0F) << 4) | (group[2] >> 2)));
    }
    if (count == 4) {
        out.push_back(static_cast<char>(((group[2] & 0x03) << 6) | group[3]));
    }
}

}  // namespace

int Base64Value(char symbol)
{
    if (symbol >= 'A' && symbol <= 'Z') {
        return symbol - 'A';
    }
    if (symbol >= 'a' && symbol <= 'z') {
        return symbol - 'a' + 26;
    }
    if (symbol >= '0' && symbol <= '9') {
        return symbol - '0' + 52;
    }
    if (symbol == '+') {
        return 62;
    }
    if (symbol == '/') {
        return 63;
    }
    return -1;
}

std::optional<std::string> DecodeBase64(std::string_view text)
{
    std::string out;
    out.reserve(text.size() / 4 * 3 + 2);
    int group[4] = {0, 0, 0, 0};
    int count = 0;    // characters of the current group
    int padding = 0;  // "=" seen in the current group
    for (const char symbol : text) {
        if (IsSkippedSpace(symbol)) {
            continue;
        }
        if (symbol == '=') {
            if (count == 0) {
                break;  // padding after a whole group ends the data
            }
            ++padding;
            if (count + padding == 4) {
                break;
            }
            continue;
        }
        const int value = Base64Value(symbol);
        if (value < 0 || padding > 0) {
            return std::nullopt;
        }
        group[count++] = value;
        if (count == 4) {
            AppendGroup(group, 4, out);
            count = 0;
        }
    }
    if (padding > 0 && count + padding != 4) {
        return std::nullopt;
    }
    if (count >= 2) {
        AppendGroup(group, count, out);
    }
    return out;
}
