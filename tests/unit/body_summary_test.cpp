#include "mail/body_summary.h"

#include "mail/mail_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "doubles/code_page_converter_fake.h"
#include "mail_test_files.h"

namespace {

class BodySummaryTest : public testing::Test {
protected:
    std::string summaryOf(const std::string& fixture) {
        return ExtractBodySummary(MailFixture(fixture), codePage);
    }
    CodePageConverterFake codePage;
};

std::string ReadQuotedPairOf(const std::string& bytes, std::string* rest = nullptr) {
    TempMailFile file(bytes);
    MailStream stream(file.path());
    const int value = ReadQuotedPair(stream);
    const std::string text = value < 0 ? std::to_string(value) : std::string(1, char(value));
    if (rest != nullptr) {
        rest->clear();
        for (int byte = stream.readRaw(); byte >= 0; byte = stream.readRaw()) {
            rest->push_back(static_cast<char>(byte));
        }
    }
    return text;
}

TEST(ReadQuotedPairTest, DecodesPairsSoftBreaksAndJunk) {
    std::string rest;
    EXPECT_EQ(ReadQuotedPairOf("3Dx"), "=");
    EXPECT_EQ(ReadQuotedPairOf("4F"), "O");
    EXPECT_EQ(ReadQuotedPairOf("4f"), "O");
    EXPECT_EQ(ReadQuotedPairOf("ZZy", &rest), "=");
    EXPECT_EQ(rest, "y");
    EXPECT_EQ(ReadQuotedPairOf("4Zy", &rest), "=");
    EXPECT_EQ(rest, "y");
    EXPECT_EQ(ReadQuotedPairOf("\r\nnext", &rest), std::to_string(kSoftLineBreak));
    EXPECT_EQ(rest, "next");
    EXPECT_EQ(ReadQuotedPairOf("\nnext", &rest), std::to_string(kSoftLineBreak));
    EXPECT_EQ(rest, "next");
    EXPECT_EQ(ReadQuotedPairOf("\rnext", &rest), std::to_string(kSoftLineBreak));
    EXPECT_EQ(rest, "next");
    EXPECT_EQ(ReadQuotedPairOf("4"), "-1");
    EXPECT_EQ(ReadQuotedPairOf(""), "-1");
}

TEST(NormalizeSummaryTextTest, CollapsesEveryKindOfWhiteSpace) {
    EXPECT_EQ(NormalizeSummaryText("  a\t\r\n\v\fb  ", 100), " a b ");
    EXPECT_EQ(NormalizeSummaryText("今日は　\t\n　晴れ", 100), "今日は 晴れ");
    EXPECT_EQ(NormalizeSummaryText("", 100), "");
}

TEST(NormalizeSummaryTextTest, StopsAtTheLimitWithoutSplittingACharacter) {
    std::string kana;
    for (int i = 0; i < 60; ++i) kana += "あ";
    EXPECT_EQ(NormalizeSummaryText(kana, 100).size(), 100u);
    EXPECT_EQ(NormalizeSummaryText("a" + kana, 100).size(), 101u);
    EXPECT_EQ(NormalizeSummaryText(std::string(150, 'x'), 100), std::string(100, 'x'));
}

TEST(NormalizeSummaryTextTest, LeadByteAtTheEndIsASingleByte) {
    // Exactly sized buffers, so that reading past the end is caught by the sanitizer.
    const std::vector<char> cut = {'a', 'b', '\x82'};
    EXPECT_EQ(NormalizeSummaryText({cut.data(), cut.size()}, 100), "ab\x82");
    const std::string so = "ソ";
    const std::vector<char> half(so.begin(), so.begin() + 1);
    EXPECT_EQ(NormalizeSummaryText({half.data(), half.size()}, 100), "\x83");
}

TEST_F(BodySummaryTest, ShiftJisBodyCollapsesIdeographicSpacesTabsAndLineBreaks) {
    // Half-width katakana is left out of a Shift-JIS body.
    EXPECT_EQ(summaryOf("sjis_spaces.eml"), "今日は 晴れ。 end ");
}

TEST_F(BodySummaryTest, PlainBodyStopsAtOneHundredBytes) {
    std::string tenAlphabets;
    for (int i = 0; i < 10; ++i) tenAlphabets += "abcdefghij";
    EXPECT_EQ(summaryOf("plain_long.eml"), tenAlphabets);
    std::string tenKana;
    for (int i = 0; i < 10; ++i) tenKana += "あいうえお";
    EXPECT_EQ(summaryOf("sjis_long.eml"), tenKana);
}

TEST_F(BodySummaryTest, QuotedPrintableBodyDecodesPairsAndJoinsSoftBreaks) {
    EXPECT_EQ(summaryOf("qp_sjis.eml"), "a=b OO \xE3\x81\x82 x=y softbreak あ ");
    EXPECT_EQ(summaryOf("qp_soft_lf.eml"), "softbreak andmore ");
    EXPECT_EQ(summaryOf("qp_truncated.eml"), "abc");
}

TEST_F(BodySummaryTest, Base64Utf8BodyIsDecodedConvertedAndCollapsed) {
    EXPECT_EQ(summaryOf("b64_utf8.eml"), "日本語のメールです。 改行を含む 本文 の 先頭です。");
    EXPECT_EQ(codePage.calls(), 1);
}

TEST_F(BodySummaryTest, TruncatedBase64GivesTheWholeGroupsAndInvalidGivesNothing) {
    EXPECT_EQ(summaryOf("b64_truncated.eml"), "日本語のメールです。");
    EXPECT_EQ(summaryOf("b64_invalid.eml"), "");
}

TEST_F(BodySummaryTest, MultipartFirstPartInBase64StopsAtOneHundredBytes) {
    // 200 Base64 characters are 150 bytes of UTF-8: 50 characters, 100 bytes of Shift-JIS.
    EXPECT_EQ(summaryOf("multipart_b64_utf8.eml"),
              "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。"
              "吾輩は猫である。名前はまだ無い。ど");
}

TEST_F(BodySummaryTest, MultipartUtf8PartEndsAtTheNextBoundary) {
    EXPECT_EQ(summaryOf("multipart_utf8_short.eml"), "短い本文 e-mail ");
}

TEST_F(BodySummaryTest, MultipartWithoutPartHeadersStartsAtThePreamble) {
    EXPECT_EQ(summaryOf("multipart_no_part_headers.eml"),
              "preamble text --b1 first part without headers --b1-- ");
}

TEST_F(BodySummaryTest, NestedMultipartReachesTheInnerTextPart) {
    EXPECT_EQ(summaryOf("multipart_nested.eml"), "東京から hello world ");
}

TEST_F(BodySummaryTest, Iso2022JpIsConvertedWithAndWithoutQuotedPrintable) {
    EXPECT_EQ(summaryOf("iso2022jp_qp.eml"), "こんにちは、世界。ｶﾀｶﾅ ");
    EXPECT_EQ(summaryOf("iso2022jp_7bit.eml"), "こんにちは、世界。ｶﾀｶﾅ ");
    EXPECT_EQ(codePage.calls(), 0);
}

TEST_F(BodySummaryTest, EmptyLineRightAfterSubjectDoesNotEndTheHeaderBlock) {
    TempMailFile file("Subject: last\r\n\r\nfirst paragraph\r\n\r\nsecond paragraph\r\n");
    EXPECT_EQ(ExtractBodySummary(file.path(), codePage), "second paragraph ");
}

TEST_F(BodySummaryTest, FailedConversionGivesNothing) {
    codePage.setFailing(true);
    EXPECT_EQ(summaryOf("b64_utf8.eml"), "");
}

TEST_F(BodySummaryTest, DamagedFilesGiveNothingQuietly) {
    EXPECT_EQ(summaryOf("empty.eml"), "");
    EXPECT_EQ(summaryOf("no_such_message.eml"), "");
    EXPECT_EQ(summaryOf("no_blank_line.eml"), "");
    EXPECT_EQ(summaryOf("multipart_no_boundary_end.eml"), "");
    EXPECT_EQ(summaryOf("nul_bytes.eml"), "bo");
}

TEST_F(BodySummaryTest, MegabyteHeaderLineIsSkippedToTheBody) {
    TempMailFile file("Subject: s\r\nX-Big: " + std::string(1 << 20, 'C') + "\r\n\r\nthe body");
    EXPECT_EQ(ExtractBodySummary(file.path(), codePage), "the body");
    TempMailFile longType("Content-Type: text/plain; charset=utf-8; x=" +
                          std::string(1 << 20, 'x') + "\r\n\r\nutf8 body");
    EXPECT_EQ(ExtractBodySummary(longType.path(), codePage), "utf8 body");
}

TEST_F(BodySummaryTest, BinaryJunkGivesAShortExcerptAtMost) {
    std::string junk(256 * 1024, '\0');
    uint32_t state = 99;
    for (char& byte : junk) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    for (const std::string& prefix :
         {std::string(), std::string("Content-Type: multipart/x; boundary=\"\"\r\n"),
          std::string("Content-Type: text/plain; charset=utf-8\r\n"
                      "Content-Transfer-Encoding: quoted-printable\r\n\r\n")}) {
        TempMailFile file(prefix + junk);
        EXPECT_LE(ExtractBodySummary(file.path(), codePage).size(), 2u * 200u + 1u);
    }
}

TEST(SkipToFirstBoundaryTest, ReadsPastTheMarkerLine) {
    TempMailFile file("preamble\r\n--b-1; tail\r\nnext line\r\n");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"multipart/mixed; boundary=\"b-1; tail\"", "next line\n"},
        {"multipart/mixed; boundary = b-1;", "next line\n"},
        {"multipart/mixed; boundary=\"unclosed", "preamble\n"},
        {"multipart/mixed; boundary b-1", "preamble\n"},
        {"multipart/mixed; BOUNDARY=b-1", "preamble\n"},
        {"multipart/mixed; boundary=nowhere", ""},
    };
    for (const auto& [contentType, nextLine] : cases) {
        MailStream stream(file.path());
        SkipToFirstBoundary(stream, contentType);
        std::string line;
        ReadMailLine(stream, line, 100);
        EXPECT_EQ(line, nextLine) << contentType;
    }
}

}  // namespace
