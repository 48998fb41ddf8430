// The body excerpt with every transfer encoding and charset a message can declare, and the
// decoders behind it (Base64, ISO-2022-JP, the white-space normalisation).
#include "doubles/code_page_converter_fake.h"
#include "fuzz_support.h"
#include "mail/base64.h"
#include "mail/body_summary.h"
#include "mail/iso2022jp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = WriteScratchFile("mail.CRV", bytes);
    CodePageConverterFake codePage;
    const std::string summary = ExtractBodySummary(path, codePage);
    // The collection stops at 200 counted bytes; a decoded quoted-printable pair counts once.
    FUZZ_CHECK(summary.size() <= 2 * 200 + 1);

    const std::string normalised = NormalizeSummaryText(bytes, kSummaryLimit);
    FUZZ_CHECK(normalised.size() <= kSummaryLimit + 1);
    if (const auto decoded = DecodeBase64(bytes)) {
        FUZZ_CHECK(decoded->size() <= bytes.size());
    }
    const std::string sjis = Iso2022JpToShiftJis(bytes);
    FUZZ_CHECK(sjis.size() <= bytes.size());
    FUZZ_CHECK(Iso2022JpToAnsiSummary(bytes).size() <= kSummaryLimit + 1);
    FUZZ_CHECK(Utf8ToAnsiSummary(bytes, codePage).size() <= kSummaryLimit + 1);
    FUZZ_CHECK(Base64Utf8ToAnsiSummary(bytes, codePage).size() <= kSummaryLimit + 1);
    return 0;
}
