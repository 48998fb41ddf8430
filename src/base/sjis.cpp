#include "base/sjis.h"

namespace {

bool IsAsciiLetter(int byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

}  // namespace

std::size_t FindSjisChar(std::string_view text, char byte)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == byte) {
            return i;
        }
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i]))) {
            if (i + 1 >= text.size()) {
                return std::string_view::npos;
            }
            ++i;
        }
    }
    return std::string_view::npos;
}

std::size_t CutWithoutSplitting(std::string_view text, std::size_t maxBytes)
{
    std::size_t i = 0;
    while (i < text.size() && i < maxBytes) {
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i]))) {
            if (i + 1 >= maxBytes || i + 1 >= text.size()) {
                break;
            }
            i += 2;
        } else {
            ++i;
        }
    }
    return i;
}

int StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return 1;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const int expected = static_cast<unsigned char>(prefix[i]);
        const int actual = static_cast<unsigned char>(text[i]);
        const bool same = IsAsciiLetter(expected) ? AsciiUpper(expected) == AsciiUpper(actual)
                                                  : expected == actual;
        if (!same) {
            return 1;
        }
    }
    return 0;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(a[i]))) {
            // The character's two bytes compare exactly.
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1])) {
                return false;
            }
            ++i;
        } else if (AsciiUpper(static_cast<unsigned char>(a[i])) !=
                   AsciiUpper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::size_t SkipPastNoCase(std::string_view text, std::string_view pattern)
{
    const std::size_t found = FindPastNoCase(text, pattern);
    return found == std::string_view::npos ? text.size() : found;
}

std::size_t FindPastNoCase(std::string_view text, std::string_view pattern)
{
    if (pattern.empty()) {
        return 0;
    }
    for (std::size_t start = 0; start + pattern.size() <= text.size(); ++start) {
        if (HasPrefixNoCase(text.substr(start), pattern)) {
            return start + pattern.size();
        }
    }
    return std::string_view::npos;
}

std::size_t SkipBlanks(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    return i;
}

std::size_t FindBlank(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && !IsBlank(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    return i;
}

std::size_t FindCharOrEnd(std::string_view text, char byte)
{
    const std::size_t found = text.find(byte);
    return found == std::string_view::npos ? text.size() : found;
}
