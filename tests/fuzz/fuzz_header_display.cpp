// The display form of a received message's From and Subject texts: encoded words, display
// names and the byte cut that must never split a double-byte character.
#include "doubles/code_page_converter_fake.h"
#include "fuzz_support.h"
#include "mail/header_display.h"
#include "mail/mail_text.h"

namespace {

// True when text ends inside a double-byte character (a lead byte without its trail byte).
bool EndsInsideCharacter(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        i += IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return i > text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const int fromLength = static_cast<int8_t>(input.byte());
    const std::string_view text = input.rest();
    CodePageConverterFake codePage;

    FUZZ_CHECK(DecodeEncodedWords(text, codePage).size() <= 2 * text.size() + 1);
    if (const auto name = ExtractDisplayName(text)) {
        FUZZ_CHECK(name->size() <= text.size());
    }
    if (fromLength >= 0) {
        if (const auto cut = DecodeAndTruncate(text, static_cast<std::size_t>(fromLength), codePage)) {
            FUZZ_CHECK(cut->size() <= static_cast<std::size_t>(fromLength));
            FUZZ_CHECK(!EndsInsideCharacter(*cut));
        }
    }
    if (const auto shown = FormatHeaderForDisplay(text, fromLength, codePage)) {
        if (fromLength > 0) {
            FUZZ_CHECK(shown->size() <= static_cast<std::size_t>(fromLength));
            FUZZ_CHECK(!EndsInsideCharacter(*shown));
        }
    }
    return 0;
}
