// The UTF-8 conversion and the mail readers on the real system services: conversions
// through the ANSI code page (932 under the Japanese locale the runner sets) and message
// files opened by Windows paths.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/code_page_win.h"
#include "mail/body_summary.h"
#include "mail/header_lookups.h"
#include "mail/mail_text.h"

namespace {

std::string MailFixture(const std::string& name) {
    std::string path = std::string("Z:") + TARNWICK_TEST_DATA + "/mail/" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

TEST(Win32CodePageConverterTest, Utf8BecomesShiftJis) {
    ASSERT_EQ(GetACP(), 932u) << "the runner sets a Japanese locale";
    Win32CodePageConverter codePage;
    EXPECT_EQ(codePage.utf8ToAnsi("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E abc"), "日本語 abc");
    EXPECT_EQ(codePage.utf8ToAnsi("\xE3\x82\xBD"), "ソ");
    EXPECT_EQ(codePage.utf8ToAnsi(""), "");
}

TEST(Win32CodePageConverterTest, MalformedUtf8StillGivesText) {
    Win32CodePageConverter codePage;
    const std::string converted = codePage.utf8ToAnsi("a\xE6\x97" "b");
    ASSERT_FALSE(converted.empty());
    EXPECT_EQ(converted.front(), 'a');
    EXPECT_EQ(converted.back(), 'b');
}

TEST(MailReadersOnWindowsTest, ExcerptAndLookupsByWindowsPath) {
    Win32CodePageConverter codePage;
    EXPECT_EQ(ExtractBodySummary(MailFixture("b64_utf8.eml"), codePage),
              "日本語のメールです。 改行を含む 本文 の 先頭です。");
    EXPECT_EQ(ExtractBodySummary(MailFixture("multipart_utf8_short.eml"), codePage),
              "短い本文 e-mail ");
    EXPECT_EQ(FindHeaderLine(MailFixture("basic_cr.eml"), "X-Text-Classification:",
                             kBucketBufferSize),
              "spam");
    EXPECT_EQ(FindHeaderValue(MailFixture("basic_crlf.eml"), "Subject:"), "Quarterly report");
}

}  // namespace
