#include "mail/summary_text.h"

#include "base/code_page.h"
#include "base/sjis.h"
#include "mail/base64.h"
#include "mail/iso2022jp.h"

namespace {
constexpr unsigned char kIdeographicSpaceLead = 0x81;
constexpr unsigned char kIdeographicSpaceTrail = 0x40;
}  // namespace

bool IsSummarySpace(int byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\v' ||
           byte == '\f';
}

bool IsIdeographicSpace(int lead, int trail)
{
    return lead == kIdeographicSpaceLead && trail == kIdeographicSpaceTrail;
}

std::string_view UpToNul(std::string_view text)
{
    return text.substr(0, FindCharOrEnd(text, '\0'));
}

std::string NormalizeSummaryText(std::string_view text, size_t limit)
{
    std::string out;
    bool spacePending = false;
    auto appendSpace = [&] {
        if (!spacePending) {
            out.push_back(' ');
        }
        spacePending = true;
    };
    for (size_t i = 0; i < text.size() && out.size() < limit; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsSjisLeadByte(byte) && i + 1 < text.size()) {
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            ++i;
            if (IsIdeographicSpace(byte, trail)) {
                appendSpace();
            } else {
                out.push_back(static_cast<char>(byte));
                out.push_back(static_cast<char>(trail));
                spacePending = false;
            }
        } else if (IsSummarySpace(byte)) {
            appendSpace();
        } else {
            out.push_back(static_cast<char>(byte));
            spacePending = false;
        }
    }
    return out;
}

std::string Utf8ToAnsiSummary(std::string_view utf8, CodePageConverter& codePage)
{
    const std::string_view text = UpToNul(utf8);
    if (text.empty()) {
        return {};
    }
    return NormalizeSummaryText(codePage.utf8ToAnsi(std::string(text)), kSummaryLimit);
}

std::string Base64Utf8ToAnsiSummary(std::string_view base64, CodePageConverter& codePage)
{
    const std::optional<std::string> bytes = DecodeBase64(UpToNul(base64));
    if (!bytes) {
        return {};
    }
    return Utf8ToAnsiSummary(*bytes, codePage);
}

std::string Iso2022JpToAnsiSummary(std::string_view jis)
{
    return NormalizeSummaryText(Iso2022JpToShiftJis(jis), kSummaryLimit);
}
