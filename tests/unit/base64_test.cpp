#include "mail/base64.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Base64Case {
    const char* text;
    std::optional<std::string> bytes;
};

// RFC 4648 section 10 vectors, then the system decoder's treatment of odd input.
const std::vector<Base64Case> kCases = {
    {"", ""},
    {"Zg==", "f"},
    {"Zm8=", "fo"},
    {"Zm9v", "foo"},
    {"Zm9vYg==", "foob"},
    {"Zm9vYmE=", "fooba"},
    {"Zm9vYmFy", "foobar"},
    {"Zm9v\r\nYmFy\r\n", "foobar"},
    {" Zm9v\tYmFy ", "foobar"},
    {"Zm9vYg", "foob"},          // missing padding is fine
    {"Zm9vYmE", "fooba"},
    {"Zm9vY", "foo"},            // a single leftover character makes no byte
    {"Zm9v=", "foo"},            // padding after a whole group ends the data
    {"Zg==Zm8=", "f"},           // so does a completed padded group
    {"Zg=", std::nullopt},       // padding that does not complete its group
    {"Zg=x", std::nullopt},      // data after padding
    {"Zm9v!", std::nullopt},     // a character outside the alphabet
    {"Zm9-", std::nullopt},      // the URL-safe alphabet is not accepted
    {"+/+/", std::string("\xFB\xFF\xBF\xFB", 3)},
};

TEST(DecodeBase64Test, DecodesLikeTheSystemDecoder) {
    for (const Base64Case& row : kCases) {
        EXPECT_EQ(DecodeBase64(row.text), row.bytes) << '"' << row.text << '"';
    }
}

TEST(DecodeBase64Test, InputCutShortNeverReadsPastItsEnd) {
    for (const Base64Case& row : kCases) {
        const std::string text = row.text;
        for (size_t length = 0; length < text.size(); ++length) {
            const std::vector<char> exact(text.begin(), text.begin() + length);
            const std::optional<std::string> bytes = DecodeBase64({exact.data(), exact.size()});
            if (bytes) {
                EXPECT_LE(bytes->size(), length * 3 / 4) << text << " cut to " << length;
            }
        }
    }
}

}  // namespace
