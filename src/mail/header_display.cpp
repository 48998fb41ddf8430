#include "mail/header_display.h"

#include <algorithm>

#include "base/code_page.h"
#include "base/sjis.h"
#include "mail/base64.h"
#include "mail/body_summary.h"
#include "mail/iso2022jp.h"

namespace {

// The parts of an encoded word "=?charset?X?text?=" (RFC 2047 section 2).
struct EncodedWord {
    size_t start = 0;  // index of "=?"
    std::string_view charset;
    char encoding = 0;     // 'B' or 'Q'
    size_t textStart = 0;  // index after the "?" that follows the encoding letter
};

// The first well-formed start of an encoded word at or after from: "=?", a charset, "?",
// the letter B or Q in either case, "?". The letter is the word's own, so a Q word
// followed later by a B word is decoded as Q.
std::optional<EncodedWord> FindEncodedWord(std::string_view text, size_t from)
{
    for (size_t start = text.find("=?", from); start != std::string_view::npos;
         start = text.find("=?", start + 2)) {
        const size_t charsetEnd = text.find('?', start + 2);
        if (charsetEnd == std::string_view::npos) {
            return std::nullopt;
        }
        if (charsetEnd + 2 >= text.size() || text[charsetEnd + 2] != '?') {
            continue;
        }
        const char letter = text[charsetEnd + 1];
        if (letter != 'B' && letter != 'b' && letter != 'Q' && letter != 'q') {
            continue;
        }
        EncodedWord word;
        word.start = start;
        word.charset = text.substr(start + 2, charsetEnd - start - 2);
        word.encoding = (letter == 'B' || letter == 'b') ? 'B' : 'Q';
        word.textStart = charsetEnd + 3;
        return word;
    }
    return std::nullopt;
}

// Index after the word's closing "?" (searched from at) and an "=" directly after it.
size_t SkipWordEnd(std::string_view text, size_t at)
{
    const size_t question = text.find('?', at);
    if (question == std::string_view::npos) {
        return text.size();
    }
    size_t end = question + 1;
    if (end < text.size() && text[end] == '=') {
        ++end;
    }
    return end;
}

// Decodes whole and partial Base64 groups up to the first character outside the
// alphabet; returns the index where the word ends.
size_t DecodeBWord(std::string_view text, size_t start, std::string& out)
{
    unsigned int bits = 0;
    int bitCount = 0;
    size_t i = start;
    for (; i < text.size(); ++i) {
        const int value = Base64Value(text[i]);
        if (value < 0) {
            break;
        }
        bits = ((bits << 6) | static_cast<unsigned int>(value)) & 0xFFFFFF;
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out.push_back(static_cast<char>((bits >> bitCount) & 0xFF));
        }
    }
    return SkipWordEnd(text, i);
}

int QDigitValue(char symbol)
{
    const int value = HexDigitValue(static_cast<unsigned char>(symbol));
    return value < 0 ? 0 : value;
}

// Decodes "=XX" escapes and "_" (a space, RFC 2047 section 4.2) up to the word's "?";
// an escape cut short by the "?" or the end of the text decodes its missing digits as 0.
size_t DecodeQWord(std::string_view text, size_t start, std::string& out)
{
    const size_t end = std::min(text.find('?', start), text.size());
    size_t i = start;
    while (i < end) {
        if (text[i] == '=') {
            const int high = i + 1 < end ? QDigitValue(text[i + 1]) : 0;
            const int low = i + 2 < end ? QDigitValue(text[i + 2]) : 0;
            out.push_back(static_cast<char>(high * 16 + low));
            i = std::min(i + 3, end);
        } else {
            out.push_back(text[i] == '_' ? ' ' : text[i]);
            ++i;
        }
    }
    return SkipWordEnd(text, end);
}

std::string ConvertWordCharset(std::string bytes, std::string_view charset,
                               CodePageConverter& codePage)
{
    if (HasPrefixNoCase(charset, "iso-2022-jp")) {
        return Iso2022JpToShiftJis(bytes);
    }
    if (HasPrefixNoCase(charset, "utf-8")) {
        std::string converted = codePage.utf8ToAnsi(bytes);
        return converted.empty() ? bytes : converted;
    }
    return bytes;
}

std::string WithoutNul(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (const char byte : text) {
        if (byte != '\0') {
            out.push_back(byte);
        }
    }
    return out;
}

size_t SkipSpaces(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    return i;
}

}  // namespace

std::string DecodeEncodedWords(std::string_view text, CodePageConverter& codePage)
{
    std::string out;
    out.reserve(text.size());
    size_t copied = 0;
    while (const std::optional<EncodedWord> word = FindEncodedWord(text, copied)) {
        out.append(text.substr(copied, word->start - copied));
        std::string decoded;
        copied = word->encoding == 'B' ? DecodeBWord(text, word->textStart, decoded)
                                       : DecodeQWord(text, word->textStart, decoded);
        out += WithoutNul(ConvertWordCharset(std::move(decoded), word->charset, codePage));
    }
    out.append(text.substr(copied));
    return out;
}

std::optional<std::string> ExtractDisplayName(std::string_view text)
{
    text.remove_prefix(SkipSpaces(text));
    if (text.empty()) {
        return std::nullopt;
    }
    const size_t quote = text.find('"');
    if (quote != std::string_view::npos) {
        const std::string_view rest = text.substr(quote + 1);
        return std::string(rest.substr(0, FindCharOrEnd(rest, '"')));
    }
    const size_t paren = text.find('(');
    if (paren != std::string_view::npos) {
        const std::string_view rest = text.substr(paren + 1);
        return std::string(rest.substr(0, FindCharOrEnd(rest, ')')));
    }
    if (text.front() == '<') {
        const std::string_view rest = text.substr(1);
        return std::string(rest.substr(0, FindCharOrEnd(rest, '>')));
    }
    std::string_view name = text.substr(0, FindCharOrEnd(text, '<'));
    if (name.size() < text.size()) {
        while (!name.empty() && name.back() == ' ') {
            name.remove_suffix(1);
        }
    }
    return std::string(name);
}

std::optional<std::string> DecodeAndTruncate(std::string_view text, size_t maxBytes,
                                             CodePageConverter& codePage)
{
    text.remove_prefix(SkipSpaces(text));
    if (text.empty()) {
        return std::nullopt;
    }
    std::string decoded = DecodeEncodedWords(text, codePage);
    decoded.resize(CutWithoutSplitting(decoded, maxBytes));
    return decoded;
}

std::optional<std::string> FormatHeaderForDisplay(std::string_view text, int32_t fromLength,
                                                  CodePageConverter& codePage)
{
    std::optional<std::string> name = ExtractDisplayName(text);
    if (!name || fromLength <= 0) {
        return name;
    }
    return DecodeAndTruncate(*name, static_cast<size_t>(fromLength), codePage);
}
