#include "mail/header_display.h"

#include <gtest/gtest.h>

#include <vector>

#include "doubles/code_page_converter_fake.h"

namespace {

// "こんにちは" in ISO-2022-JP, Base64-encoded: the usual Japanese encoded word.
const std::string kKonnichiwaWord = "=?ISO-2022-JP?B?GyRCJDMkcyRLJEEkTxsoQg==?=";

class HeaderDisplayTest : public testing::Test {
protected:
    std::string decode(std::string_view text) { return DecodeEncodedWords(text, codePage); }
    CodePageConverterFake codePage;
};

TEST_F(HeaderDisplayTest, BWordsAreConsumedThroughTheirClosingMark) {
    EXPECT_EQ(decode("=?us-ascii?B?YQ==?=x"), "ax");
    EXPECT_EQ(decode("=?us-ascii?B?YWI=?=c"), "abc");
    EXPECT_EQ(decode("=?us-ascii?b?YWJj?= d"), "abc d");
    EXPECT_EQ(decode("Re: " + kKonnichiwaWord), "Re: こんにちは");
}

TEST_F(HeaderDisplayTest, QWordsDecodeEscapesAndUnderscores) {
    EXPECT_EQ(decode("=?us-ascii?Q?a=41b?="), "aAb");
    EXPECT_EQ(decode("=?us-ascii?q?a=4fb=4F?="), "aObO");
    EXPECT_EQ(decode("=?us-ascii?Q?two_words?="), "two words");
    EXPECT_EQ(decode("=?us-ascii?Q?a=ZZb?="), "ab");  // non-digits count 0: a NUL, dropped
    EXPECT_EQ(decode("=?shift_jis?Q?=82=A0?="), "あ");
}

TEST_F(HeaderDisplayTest, CharsetsAreConvertedToShiftJis) {
    EXPECT_EQ(decode("=?UTF-8?B?5pel5pys?="), "日本");
    EXPECT_EQ(decode("=?utf-8?Q?=E6=97=A5?="), "日");
    EXPECT_EQ(decode("=?iso-2022-jp?Q?=1B$B$3=1B(B?="), "こ");
    EXPECT_EQ(decode("=?x-unknown?B?gqA=?="), "あ");
}

TEST_F(HeaderDisplayTest, AdjacentWordsKeepTheBlankBetweenThem) {
    EXPECT_EQ(decode("=?us-ascii?Q?a?= =?us-ascii?Q?b?="), "a b");
    EXPECT_EQ(decode(kKonnichiwaWord + "\t" + kKonnichiwaWord), "こんにちは\tこんにちは");
}

TEST_F(HeaderDisplayTest, EachWordUsesItsOwnEncodingLetter) {
    EXPECT_EQ(decode("=?us-ascii?Q?a=41?= =?us-ascii?B?YQ==?="), "aA a");
    EXPECT_EQ(decode("price =? 5 and =?us-ascii?Q?ok?="), "price =? 5 and ok");
}

TEST_F(HeaderDisplayTest, MalformedWordsEndQuietly) {
    EXPECT_EQ(decode("=?"), "=?");
    EXPECT_EQ(decode("abc =?"), "abc =?");
    EXPECT_EQ(decode("=?us-ascii?"), "=?us-ascii?");
    EXPECT_EQ(decode("=?us-ascii?X?abc?="), "=?us-ascii?X?abc?=");
    EXPECT_EQ(decode("=?us-ascii?B?YWJj"), "abc");
    EXPECT_EQ(decode("=?us-ascii?B?YW!Jj?=tail"), "atail");
    EXPECT_EQ(decode("x =?us-ascii?Q?a=4"), "x a@");
    EXPECT_EQ(decode("=?us-ascii?Q?a=?=b"), "ab");
    EXPECT_EQ(decode("=?us-ascii?Q?a=00b?="), "ab");
}

TEST_F(HeaderDisplayTest, DecodingInputCutShortStaysInside) {
    const std::string text = "Re: " + kKonnichiwaWord + " =?us-ascii?Q?a=41_b?=";
    for (size_t length = 0; length <= text.size(); ++length) {
        const std::vector<char> exact(text.begin(), text.begin() + length);
        EXPECT_LE(decode({exact.data(), exact.size()}).size(), length) << "cut to " << length;
    }
}

TEST(ExtractDisplayNameTest, PicksTheNamePart) {
    EXPECT_EQ(ExtractDisplayName("Taro Yamada   <taro@example.jp>"), "Taro Yamada");
    EXPECT_EQ(ExtractDisplayName("<taro@example.jp>"), "taro@example.jp");
    EXPECT_EQ(ExtractDisplayName("taro@example.jp (Taro Yamada)"), "Taro Yamada");
    EXPECT_EQ(ExtractDisplayName("  \"山田 太郎\" <taro@example.jp>"), "山田 太郎");
    EXPECT_EQ(ExtractDisplayName("\"unterminated"), "unterminated");
    EXPECT_EQ(ExtractDisplayName("(unclosed"), "unclosed");
    EXPECT_EQ(ExtractDisplayName("<unclosed"), "unclosed");
    EXPECT_EQ(ExtractDisplayName("taro@example.jp"), "taro@example.jp");
    EXPECT_EQ(ExtractDisplayName("Subject text  "), "Subject text  ");
    EXPECT_EQ(ExtractDisplayName("   "), std::nullopt);
    EXPECT_EQ(ExtractDisplayName(""), std::nullopt);
}

TEST(DecodeAndTruncateTest, CutsWithoutSplittingADoubleByteCharacter) {
    CodePageConverterFake codePage;
    EXPECT_EQ(DecodeAndTruncate(kKonnichiwaWord, 10, codePage), "こんにちは");
    EXPECT_EQ(DecodeAndTruncate(kKonnichiwaWord, 9, codePage), "こんにち");
    EXPECT_EQ(DecodeAndTruncate("a" + kKonnichiwaWord, 10, codePage), "aこんにち");
    EXPECT_EQ(DecodeAndTruncate("  abc", 2, codePage), "ab");
    EXPECT_EQ(DecodeAndTruncate("ソ\\", 2, codePage), "ソ");
    EXPECT_EQ(DecodeAndTruncate("  ", 10, codePage), std::nullopt);
    const std::vector<char> leadAtEnd = {'a', 'b', '\x82'};
    EXPECT_EQ(DecodeAndTruncate({leadAtEnd.data(), leadAtEnd.size()}, 10, codePage), "ab");
}

TEST(FormatHeaderForDisplayTest, DecodesAndCutsOnlyWithALengthLimit) {
    CodePageConverterFake codePage;
    const std::string from = "\"" + kKonnichiwaWord + "\" <taro@example.jp>";
    EXPECT_EQ(FormatHeaderForDisplay(from, 0, codePage), kKonnichiwaWord);
    EXPECT_EQ(FormatHeaderForDisplay(from, -5, codePage), kKonnichiwaWord);
    EXPECT_EQ(FormatHeaderForDisplay(from, 10, codePage), "こんにちは");
    EXPECT_EQ(FormatHeaderForDisplay(from, 7, codePage), "こんに");
    const std::string subject = "Re: " + kKonnichiwaWord;
    EXPECT_EQ(FormatHeaderForDisplay(subject, 0, codePage), subject);
    EXPECT_EQ(FormatHeaderForDisplay(subject, 100, codePage), "Re: こんにちは");
    EXPECT_EQ(FormatHeaderForDisplay("", 10, codePage), std::nullopt);
    EXPECT_EQ(FormatHeaderForDisplay("   ", 0, codePage), std::nullopt);
    EXPECT_EQ(FormatHeaderForDisplay("\"  \" <a@b>", 10, codePage), std::nullopt);
}

}  // namespace
