#include "mail/iso2022jp.h"

namespace {

constexpr char kEscape = 0x1B;
constexpr char kShiftOut = 0x0E;
constexpr char kShiftIn = 0x0F;

enum class Mode { Ascii, Kanji, Katakana };

bool IsJisByte(unsigned char byte)
{
    return byte >= 0x21 && byte <= 0x7E;
}

// JIS X 0208 row/cell bytes (0x21-0x7E each) to the Shift-JIS pair.
void AppendSjisPair(unsigned char first, unsigned char second, std::string& out)
{
    const int lead = ((first + 1) >> 1) + (first <= 0x5E ? 0x70 : 0xB0);
    int trail;
    if (first & 1) {
        trail = second + (second >= 0x60 ? 0x20 : 0x1F);
    } else {
        trail = second + 0x7E;
    }
    out.push_back(static_cast<char>(lead));
    out.push_back(static_cast<char>(trail));
}

// Recognises the escape sequence at text[at] (an ESC); returns its length, 0 when unknown.
size_t ReadDesignation(std::string_view text, size_t at, Mode& mode)
{
    const std::string_view rest = text.substr(at + 1);
    if (rest.substr(0, 2) == "(B" || rest.substr(0, 2) == "(J") {
        mode = Mode::Ascii;
        return 3;
    }
    if (rest.substr(0, 2) == "$@" || rest.substr(0, 2) == "$B") {
        mode = Mode::Kanji;
        return 3;
    }
    if (rest.substr(0, 2) == "(I") {
        mode = Mode::Katakana;
        return 3;
    }
    return 0;
}

}  // namespace

std::string Iso2022JpToShiftJis(std::string_view jis)
{
    std::string out;
    out.reserve(jis.size());
    Mode mode = Mode::Ascii;
    Mode beforeShiftOut = Mode::Ascii;
    size_t i = 0;
    while (i < jis.size()) {
        const auto byte = static_cast<unsigned char>(jis[i]);
        if (jis[i] == kEscape) {
            if (i + 3 > jis.size()) {
                break;  // an escape sequence cut off by the end
            }
            const size_t length = ReadDesignation(jis, i, mode);
            i += length > 0 ? length : 1;
            continue;
        }
        if (jis[i] == kShiftOut) {
            if (mode != Mode::Katakana) {
                beforeShiftOut = mode;
            }
            mode = Mode::Katakana;
            ++i;
            continue;
        }
        if (jis[i] == kShiftIn) {
            if (mode == Mode::Katakana) {
                mode = beforeShiftOut;
            }
            ++i;
            continue;
        }
        if (byte >= 0xA1 && byte <= 0xDF) {
            out.push_back(static_cast<char>(byte));
        } else if (byte >= 0x80) {
            ++i;  // no Shift-JIS form of its own
            continue;
        } else if (mode == Mode::Kanji && IsJisByte(byte)) {
            if (i + 1 >= jis.size()) {
                break;
            }
            const auto second = static_cast<unsigned char>(jis[i + 1]);
            if (IsJisByte(second)) {
                AppendSjisPair(byte, second, out);
                i += 2;
                continue;
            }
            // A broken pair: the first byte is dropped, the second read on its own.
        } else if (mode == Mode::Katakana && byte >= 0x21 && byte <= 0x5F) {
            out.push_back(static_cast<char>(byte + 0x80));
        } else {
            out.push_back(static_cast<char>(byte));
        }
        ++i;
    }
    return out;
}
