#include "mail/mail_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "mail/header_lookups.h"
#include "mail_test_files.h"

namespace {

const char* const kBasicAsLf =
    "Received: from relay.example.jp by mx.example.jp; Mon, 7 Dec 2026 10:00:00 +0900\n"
    "From: \"Taro Yamada\" <taro@example.jp>\n"
    "Subject: Quarterly\n"
    "  report\n"
    "To: hanako@example.jp\n"
    "X-Text-Classification: spam\n"
    "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=42\n"
    "\n"
    "Body line one.\n"
    "Body line two.\n";

std::string ReadAllMailChars(MailStream& stream) {
    std::string text;
    for (int byte = ReadMailChar(stream); byte >= 0; byte = ReadMailChar(stream)) {
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

// Deterministic bytes of every value, newlines and colons included.
std::string JunkBytes(size_t size) {
    std::string junk(size, '\0');
    uint32_t state = 12345;
    for (char& byte : junk) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return junk;
}

// A copy of text in a buffer of exactly its size: reading one byte past it is caught
// by the address sanitizer (a std::string would have its NUL there).
class ExactBuffer {
public:
    explicit ExactBuffer(std::string_view text) : bytes_(text.begin(), text.end()) {}
    std::string_view view() const { return {bytes_.data(), bytes_.size()}; }

private:
    std::vector<char> bytes_;
};

class LineEndTest : public testing::TestWithParam<const char*> {};

TEST_P(LineEndTest, EveryLineEndReadsAsOneLf) {
    MailStream stream(MailFixture(GetParam()));
    ASSERT_TRUE(stream.isOpen());
    EXPECT_EQ(ReadAllMailChars(stream), kBasicAsLf);
    EXPECT_TRUE(stream.atEnd());
}

TEST_P(LineEndTest, LookupsGiveTheSameValues) {
    const std::string path = MailFixture(GetParam());
    EXPECT_EQ(FindHeaderLine(path, "X-Text-Classification:", kBucketBufferSize), "spam");
    EXPECT_EQ(FindHeaderLine(path, "X-POPFile-Link:", kLinkBufferSize),
              "http://127.0.0.1:8080/jump_to_message?view=42");
    EXPECT_EQ(FindHeaderLine(path, "Subject:", kHeaderBufferSize), "Quarterly");
    EXPECT_EQ(FindHeaderValue(path, "Subject:"), "Quarterly report");
    EXPECT_EQ(FindHeaderValue(path, "From:"), "\"Taro Yamada\" <taro@example.jp>");
    EXPECT_EQ(FindHeaderValue(path, "Cc:"), std::nullopt);
}

TEST_P(LineEndTest, ReadHeaderLineGivesLogicalLinesThenTheEmptyLine) {
    MailStream stream(MailFixture(GetParam()));
    std::string line;
    std::vector<std::string> lines;
    while (ReadHeaderLine(stream, line) > 0) lines.push_back(line);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "From: \"Taro Yamada\" <taro@example.jp>");
    EXPECT_EQ(lines[2], "Subject: Quarterly\n report");
    EXPECT_EQ(lines[4], "X-Text-Classification: spam");
    EXPECT_FALSE(stream.atEnd());
    ASSERT_TRUE(ReadMailLine(stream, line, 1023));
    EXPECT_EQ(line, "Body line one.\n");
}

INSTANTIATE_TEST_SUITE_P(MailText, LineEndTest,
                         testing::Values("basic_crlf.eml", "basic_lf.eml", "basic_cr.eml"));

TEST(MailStreamTest, CrLfSplitAcrossTheFirstBlocksIsOneLineEnd) {
    // The first read is one page (4 KB), the second fills the first 64 KB.
    for (const std::size_t before : {std::size_t{4095}, std::size_t{65535}}) {
        TempMailFile split(std::string(before, 'x') + "\r\ny");
        MailStream stream(split.path());
        EXPECT_EQ(ReadAllMailChars(stream), std::string(before, 'x') + "\ny");

        TempMailFile lone(std::string(before, 'x') + "\rz");
        MailStream loneStream(lone.path());
        EXPECT_EQ(ReadAllMailChars(loneStream), std::string(before, 'x') + "\nz");
    }
}

TEST(MailStreamTest, GoingBackToTheStartReadsTheSameBytes) {
    const std::string bytes = std::string(70000, 'a') + "end";
    TempMailFile file(bytes);
    MailStream stream(file.path());
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(stream.seek(0));
        std::string line;
        ASSERT_TRUE(ReadMailLine(stream, line, bytes.size() + 2));
        EXPECT_EQ(line, bytes) << "pass " << pass;
    }
}

TEST(MailStreamTest, SeekReturnsToAPositionOutsideTheCurrentBlock) {
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>('a' + i % 26));
    TempMailFile file(bytes);
    MailStream stream(file.path());
    for (int i = 0; i < 150000; ++i) stream.readRaw();
    EXPECT_EQ(stream.tell(), 150000);
    ASSERT_TRUE(stream.seek(10));
    EXPECT_EQ(stream.readRaw(), 'k');
    ASSERT_TRUE(stream.seek(199999));
    EXPECT_EQ(stream.readRaw(), 'a' + 199999 % 26);
    EXPECT_EQ(stream.readRaw(), -1);
    EXPECT_TRUE(stream.atEnd());
}

TEST(MailStreamTest, UnreadStepsBackOneByteOnly) {
    TempMailFile file("ab");
    MailStream stream(file.path());
    EXPECT_EQ(stream.readRaw(), 'a');
    stream.unread();
    stream.unread();
    EXPECT_EQ(stream.readRaw(), 'a');
    EXPECT_EQ(stream.readRaw(), 'b');
    EXPECT_EQ(stream.readRaw(), -1);
    stream.unread();
    EXPECT_EQ(stream.readRaw(), -1);
}

TEST(MailStreamTest, MissingFileIsNotOpenAndReadsNothing) {
    MailStream stream(MailFixture("no_such_message.eml"));
    EXPECT_FALSE(stream.isOpen());
    EXPECT_EQ(ReadMailChar(stream), -1);
}

TEST(ReadMailLineTest, StopsAfterLfOrAtSizeMinusOneBytes) {
    TempMailFile file("abcdef\r\ng\n");
    MailStream stream(file.path());
    std::string line;
    ASSERT_TRUE(ReadMailLine(stream, line, 5));
    EXPECT_EQ(line, "abcd");
    ASSERT_TRUE(ReadMailLine(stream, line, 5));
    EXPECT_EQ(line, "ef\n");
    ASSERT_TRUE(ReadMailLine(stream, line, 2));
    EXPECT_EQ(line, "g");
    EXPECT_FALSE(ReadMailLine(stream, line, 1));
    ASSERT_TRUE(ReadMailLine(stream, line, 2));
    EXPECT_EQ(line, "\n");
    EXPECT_FALSE(ReadMailLine(stream, line, 100));
    EXPECT_TRUE(line.empty());
}

TEST(ReadMailLineTest, KeepsNulBytes) {
    TempMailFile file(std::string("a\0b\n", 4));
    MailStream stream(file.path());
    std::string line;
    ASSERT_TRUE(ReadMailLine(stream, line, 100));
    EXPECT_EQ(line, std::string("a\0b\n", 4));
}

TEST(WriteMailTest, LfBecomesCrLfAndOtherBytesStay) {
    TempMailFile target("");
    {
        MailWriteStream out(target.path());
        ASSERT_TRUE(out.isOpen());
        EXPECT_EQ(WriteMailChar('\n', out), '\n');
        const std::string text = "X-Text-Classification: 迷惑\nbody\r";
        EXPECT_EQ(WriteMailString(text, out), static_cast<long>(text.size()));
        EXPECT_EQ(WriteMailChar(0xFF, out), 0xFF);
        EXPECT_TRUE(out.close());
    }
    EXPECT_EQ(ReadWholeFile(target.path()), "\r\nX-Text-Classification: 迷惑\r\nbody\r\xFF");
}

TEST(WriteMailTest, WriteErrorsAreReported) {
    MailWriteStream closed;
    EXPECT_EQ(WriteMailChar('a', closed), -1);
    EXPECT_EQ(WriteMailString("a", closed), -1);
    EXPECT_FALSE(closed.close());

    MailWriteStream full("/dev/full");
    ASSERT_TRUE(full.isOpen());
    EXPECT_EQ(WriteMailString(std::string(200000, 'a'), full), -1);
    EXPECT_FALSE(full.close());
}

TEST(HeaderBlockTest, OneEmptyLineAfterSubjectIsSkipped) {
    const std::string path = MailFixture("subject_one_gap.eml");
    EXPECT_EQ(FindHeaderLine(path, "X-Text-Classification:", kBucketBufferSize), "ham");
    EXPECT_EQ(FindHeaderValue(path, "X-Text-Classification:"), "ham");
    EXPECT_EQ(FindHeaderLine(path, "X-POPFile-Link:", kLinkBufferSize),
              "http://127.0.0.1:8080/jump_to_message?view=7");
}

TEST(HeaderBlockTest, SeveralLinesFoundInOneReadingAsOneByOne) {
    const std::string path = MailFixture("subject_one_gap.eml");
    std::vector<HeaderLineQuery> queries = {
        {"X-POPFile-Link:", [](const std::string& link) { return link.find("view=7") == std::string::npos; },
         std::nullopt},
        {"X-Text-Classification:", [](const std::string&) { return true; }, std::nullopt},
        {"X-Missing:", [](const std::string&) { return true; }, std::nullopt}};
    FindHeaderLines(path, kLinkBufferSize, queries);
    for (const HeaderLineQuery& query : queries) {
        EXPECT_EQ(query.value, FindHeaderLineWhere(path, query.name, kLinkBufferSize, query.accept))
            << query.name;
    }
    EXPECT_EQ(queries[0].value, std::nullopt) << "the one link was refused";
    EXPECT_EQ(queries[1].value, "ham");
}

TEST(HeaderBlockTest, TwoEmptyLinesAfterSubjectEndTheBlock) {
    const std::string path = MailFixture("subject_two_gaps.eml");
    EXPECT_EQ(FindHeaderLine(path, "X-Text-Classification:", kBucketBufferSize), std::nullopt);
    EXPECT_EQ(FindHeaderValue(path, "X-Text-Classification:"), std::nullopt);
}

TEST(HeaderBlockTest, NamesMatchInAnyLetterCase) {
    const std::string path = MailFixture("name_case.eml");
    EXPECT_EQ(FindHeaderValue(path, "From:"), "upper@example.jp");
    EXPECT_EQ(FindHeaderLine(path, "Subject:", kHeaderBufferSize), "lower case");
    EXPECT_EQ(FindHeaderLine(path, "X-Text-Classification:", kBucketBufferSize), "Work");
}

TEST(HeaderBlockTest, FoldedValueDropsOnlyTheFirstBlankOfEachContinuation) {
    const std::string path = MailFixture("folded_one_blank.eml");
    EXPECT_EQ(FindHeaderValue(path, "Subject:"), "abc");
    EXPECT_EQ(FindHeaderLine(path, "Subject:", kHeaderBufferSize), "a");
    MailStream stream(path);
    std::string line;
    EXPECT_EQ(ReadHeaderLine(stream, line), 14u);
    EXPECT_EQ(line, "Subject: a\nb\nc");
}

TEST(HeaderBlockTest, LongLineIsCutAtTheBufferAndTheNextHeaderFound) {
    const std::string path = MailFixture("long_line.eml");
    // "X-Long: " takes 8 of the 200 bytes a 201-byte buffer holds.
    EXPECT_EQ(FindHeaderLine(path, "X-Long:", kBucketBufferSize), std::string(192, 'a'));
    EXPECT_EQ(FindHeaderLine(path, "X-Long:", kLinkBufferSize), std::string(1015, 'a'));
    EXPECT_EQ(FindHeaderLine(path, "X-Text-Classification:", kBucketBufferSize), "spam");
    EXPECT_EQ(FindHeaderValue(path, "X-Text-Classification:"), "spam");
}

TEST(HeaderBlockTest, HeaderOnTheLastLineWithoutLineEndIsNotFoundByLine) {
    EXPECT_EQ(FindHeaderLine(MailFixture("last_line_no_eol.eml"), "X-Text-Classification:",
                             kBucketBufferSize),
              std::nullopt);
    EXPECT_EQ(FindHeaderLine(MailFixture("last_line_cr.eml"), "X-Text-Classification:",
                             kBucketBufferSize),
              std::nullopt);
    EXPECT_EQ(FindHeaderLine(MailFixture("last_line_lf.eml"), "X-Text-Classification:",
                             kBucketBufferSize),
              "spam");
    EXPECT_EQ(FindHeaderValue(MailFixture("last_line_no_eol.eml"), "X-Text-Classification:"),
              "spam");
}

TEST(HeaderBlockTest, ShortLineThatBeginsLikeTheNameDoesNotHideTheNextLine) {
    const std::string path = MailFixture("short_prefix_line.eml");
    EXPECT_EQ(FindHeaderValue(path, "From:"), "after@example.jp");
    EXPECT_EQ(FindHeaderValue(path, "Subject:"), "kept");
}

TEST(MatchHeaderNameRestTest, ReportsMatchMismatchAndLineEnd) {
    TempMailFile file("ROM:   \tx\nRAM\nRO\nnext");
    MailStream stream(file.path());
    EXPECT_EQ(MatchHeaderNameRest(stream, "rom:"), NameMatch::Matched);
    EXPECT_EQ(ReadMailChar(stream), '\t');  // spaces consumed, tab kept
    std::string line;
    ReadMailLine(stream, line, 100);
    EXPECT_EQ(MatchHeaderNameRest(stream, "rom:"), NameMatch::Mismatched);
    EXPECT_EQ(ReadMailChar(stream), 'M');
    ReadMailLine(stream, line, 100);
    EXPECT_EQ(MatchHeaderNameRest(stream, "rom:"), NameMatch::LineEnded);
    EXPECT_EQ(ReadMailChar(stream), 'n');
}

TEST(BadMailTest, EmptyAndMissingFilesGiveNothing) {
    for (const char* name : {"empty.eml", "no_such_message.eml"}) {
        const std::string path = MailFixture(name);
        EXPECT_EQ(FindHeaderLine(path, "From:", kBucketBufferSize), std::nullopt) << name;
        EXPECT_EQ(FindHeaderValue(path, "From:"), std::nullopt) << name;
    }
    MailStream stream(MailFixture("empty.eml"));
    std::string line = "old";
    EXPECT_EQ(ReadHeaderLine(stream, line), 0u);
    EXPECT_TRUE(line.empty());
    EXPECT_TRUE(stream.atEnd());
}

TEST(BadMailTest, HeadersWithoutBodyStillAnswer) {
    const std::string path = MailFixture("no_blank_line.eml");
    EXPECT_EQ(FindHeaderValue(path, "Subject:"), "no body");
    EXPECT_EQ(FindHeaderValue(path, "X-Text-Classification:"), "spam");
    EXPECT_EQ(FindHeaderLine(path, "Subject:", kBucketBufferSize), "no body");
    EXPECT_EQ(FindHeaderLine(path, "X-Text-Classification:", kBucketBufferSize), std::nullopt);
}

TEST(BadMailTest, ValuesEndAtANulByteAsInTheCallersBuffer) {
    const std::string path = MailFixture("nul_bytes.eml");
    EXPECT_EQ(FindHeaderLine(path, "X-Text-Classification:", kBucketBufferSize), "sp");
    EXPECT_EQ(FindHeaderValue(path, "From:"), "ab");
    MailStream stream(path);
    std::string line;
    EXPECT_EQ(ReadHeaderLine(stream, line), 22u);
}

TEST(BadMailTest, MegabyteHeaderLineIsCutAndTheNextHeaderFound) {
    TempMailFile file("X-Big: " + std::string(1 << 20, 'b') + "\r\nFrom: z@example.jp\r\n\r\nbody");
    EXPECT_EQ(FindHeaderLine(file.path(), "From:", kBucketBufferSize), "z@example.jp");
    EXPECT_EQ(FindHeaderValue(file.path(), "From:"), "z@example.jp");
    EXPECT_EQ(FindHeaderLine(file.path(), "X-Big:", kHeaderBufferSize)->size(), 4095u - 7u);
    EXPECT_EQ(FindHeaderValue(file.path(), "X-Big:")->size(), size_t{1} << 20);
}

TEST(BadMailTest, BinaryJunkEndsQuietly) {
    TempMailFile file(JunkBytes(256 * 1024));
    EXPECT_EQ(FindHeaderLine(file.path(), "X-Text-Classification:", kBucketBufferSize),
              std::nullopt);
    EXPECT_EQ(FindHeaderValue(file.path(), "X-Text-Classification:"), std::nullopt);
    MailStream stream(file.path());
    std::string line;
    size_t lines = 0;
    while (ReadHeaderLine(stream, line) > 0 || !stream.atEnd()) ++lines;
    EXPECT_GT(lines, 0u);
}

TEST(ByteStringTest, StartsWithNoCaseFoldsOnlyLetters) {
    EXPECT_EQ(StartsWithNoCase("FROM: a", "From:"), 0);
    EXPECT_EQ(StartsWithNoCase("from: a", "From:"), 0);
    EXPECT_EQ(StartsWithNoCase("Fro", "From:"), 1);
    EXPECT_EQ(StartsWithNoCase("X_Text", "X-Text"), 1);
    EXPECT_EQ(StartsWithNoCase("{unclassified}", "[unclassified]"), 1);
    EXPECT_EQ(StartsWithNoCase("anything", ""), 0);
    EXPECT_EQ(StartsWithNoCase("", ""), 0);
    EXPECT_EQ(StartsWithNoCase("郵便受け\\仕事", "郵便受け"), 0);
    EXPECT_TRUE(HasPrefixNoCase("subject: x", "Subject:"));
}

TEST(ByteStringTest, SkipAndFindPastNoCase) {
    const std::string_view type = "text/plain; CHARSET=utf-8";
    EXPECT_EQ(type.substr(SkipPastNoCase(type, "charset=")), "utf-8");
    EXPECT_EQ(SkipPastNoCase(type, "boundary="), type.size());
    EXPECT_EQ(FindPastNoCase(type, "boundary="), std::string_view::npos);
    EXPECT_EQ(FindPastNoCase(type, "TEXT"), 4u);
    const ExactBuffer cut("text/plain; charse");
    EXPECT_EQ(FindPastNoCase(cut.view(), "charset="), std::string_view::npos);
}

TEST(ByteStringTest, FindSjisCharStepsOverTrailBytes) {
    // "ソ" and "表" both end in 0x5C, the backslash.
    EXPECT_EQ(FindSjisChar("ソ\\仕事", '\\'), 2u);
    EXPECT_EQ(FindSjisChar("表示\\フォルダ", '\\'), 4u);
    EXPECT_EQ(FindSjisChar("ソソ", '\\'), std::string_view::npos);
    EXPECT_EQ(FindSjisChar("a\\b", '\\'), 1u);
    const ExactBuffer leadAtEnd("ab\x83");
    EXPECT_EQ(FindSjisChar(leadAtEnd.view(), '\\'), std::string_view::npos);
    const ExactBuffer cutSo(std::string_view("ソ").substr(0, 1));
    EXPECT_EQ(FindSjisChar(cutSo.view(), '\\'), std::string_view::npos);
}

TEST(ByteStringTest, BlankAndCharacterSearches) {
    EXPECT_EQ(SkipBlanks(" \t a"), 3u);
    EXPECT_EQ(SkipBlanks(" \t"), 2u);
    EXPECT_EQ(FindBlank("ab\tc"), 2u);
    EXPECT_EQ(FindBlank("abc"), 3u);
    EXPECT_EQ(FindCharOrEnd("a;b", ';'), 1u);
    EXPECT_EQ(FindCharOrEnd("ab", ';'), 2u);
    const ExactBuffer cut("abc");
    EXPECT_EQ(FindBlank(cut.view()), 3u);
    EXPECT_EQ(SkipBlanks(ExactBuffer("  ").view()), 2u);
}

}  // namespace
