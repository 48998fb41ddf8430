#include "config/rule_store.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/settings_store.h"
#include "doubles/file_system_fake.h"
#include "doubles/plugin_ini_test.h"
#include "doubles/profile_store_fake.h"

namespace {

const std::string& kIni = kTestPluginIni;

struct ExpectedRule {
    const char* bucket;
    const char* folder;
    int32_t action;
    bool deleteFromServer;
    bool duplicateThenHostDeletes;
    int32_t mark;
};

void ExpectRules(const SortRuleList& rules, const std::vector<ExpectedRule>& expected)
{
    ASSERT_EQ(rules.size(), expected.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        SCOPED_TRACE("rule " + std::to_string(i));
        EXPECT_EQ(rules[i].position, static_cast<int32_t>(i));
        EXPECT_EQ(rules[i].bucket, expected[i].bucket);
        EXPECT_EQ(rules[i].folder, expected[i].folder);
        EXPECT_EQ(rules[i].action, expected[i].action);
        EXPECT_EQ(rules[i].deleteFromServer, expected[i].deleteFromServer);
        EXPECT_EQ(rules[i].duplicateThenHostDeletes, expected[i].duplicateThenHostDeletes);
        EXPECT_EQ(rules[i].mark, expected[i].mark);
        EXPECT_EQ(rules[i].summaryCount, 0);
        EXPECT_EQ(rules[i].summaryText, "");
    }
}

void ExpectHeaderRule(const HeaderRule& rule, const std::string& bucket,
                      const std::string& header, const std::string& search)
{
    EXPECT_EQ(rule.bucket, bucket);
    EXPECT_EQ(rule.header, header);
    EXPECT_EQ(rule.search, search);
}

SortRule Rule(const std::string& bucket, const std::string& folder, int32_t action,
              bool deleteFromServer, bool duplicate, int32_t mark)
{
    SortRule rule;
    rule.bucket = bucket;
    rule.folder = folder;
    rule.action = action;
    rule.deleteFromServer = deleteFromServer;
    rule.duplicateThenHostDeletes = duplicate;
    rule.mark = mark;
    return rule;
}

class RuleStoreTest : public PluginIniTest {
protected:
    bool Wrote() const
    {
        for (const ProfileCall& call : profile.calls()) {
            if (call.kind == ProfileCall::Kind::WriteString ||
                call.kind == ProfileCall::Kind::DeleteSection) {
                return true;
            }
        }
        return false;
    }

    SortRuleList rules;
    HeaderRuleList headerRules;
};

TEST_F(RuleStoreTest, FirstStartGetsTheDefaultRule)
{
    loadSortRules(rules, profile, files);
    ExpectRules(rules, {{"spam", "ごみ箱", 0, false, false, 0}});
    EXPECT_EQ(profile.text(kIni), "[MoveMail]\nspam=ごみ箱\n");
    EXPECT_EQ(profile.flushCount(kIni), 1);
}

TEST_F(RuleStoreTest, AnExistingFileWithoutMoveMailKeysGetsNoRules)
{
    for (const char* text : {"[Setup]\nCheckConnect=0\n", "[MoveMail]\n[Setup]\nURL=x\n",
                             "[MoveMail]\nno equals sign\n;spam=ごみ箱\n", ""}) {
        ProfileStoreFake profile;
        FileSystemFake files;
        profile.loadText(kIni, text);
        files.addExistenceCheck([&profile](const std::string& path) { return profile.exists(path); });
        rules.push_back(Rule("stale", "x", 0, false, false, 0));
        loadSortRules(rules, profile, files);
        EXPECT_TRUE(rules.empty()) << text;
        for (const ProfileCall& call : profile.calls()) {
            EXPECT_NE(call.kind, ProfileCall::Kind::WriteString) << text;
        }
    }
}

TEST_F(RuleStoreTest, TheFileSystemDecidesWhetherTheFileExists)
{
    // An unreadable file counts as missing even when profile reads work.
    profile.loadText(kIni, "[Setup]\nCheckConnect=0\n");
    files.setFileExists(kIni, false);
    loadSortRules(rules, profile, files);
    ExpectRules(rules, {{"spam", "ごみ箱", 0, false, false, 0}});
}

TEST_F(RuleStoreTest, LoadsACurrentFileInKeyOrder)
{
    LoadFixture("current.ini");
    loadSortRules(rules, profile, files);
    ExpectRules(rules, {
                           {"spam", "ごみ箱", 2, true, false, 0},
                           {"work", "仕事\\顧客", 1, false, true, 3},
                           {"ソフト", "郵便受け", 0, true, true, 7},
                           {"personal", "送信箱", 0, false, false, 0},
                       });
    EXPECT_FALSE(Wrote());
}

TEST_F(RuleStoreTest, DamagedActionAndMarkValuesGiveWhatCanBeRead)
{
    LoadFixture("damaged.ini");
    loadSortRules(rules, profile, files);
    ExpectRules(rules, {
                           {"a", "", 1, false, false, 0},             // "1,x,1", mark "abc"
                           {"b", "受信\\b", 0, false, false, -3},    // "", mark "-3"
                           {"c", "c", 0, false, false, 2147483647},  // ",,", mark too big
                           {"d", "d", 2147483647, true, true, 7},    // "99999999999,1,1"
                           {"e", "e", -1, true, false, 0},           // "-1,-1,0", mark ""
                           {"f", "f", 1, false, false, 4},           // "1;1;1", mark " 4"
                           {"g", "g", 2, false, true, 0},            // "+2,+0,+3"
                           {"h", "h", 2, true, false, 0},            // "2, 1 ,1"
                           {"i", "i", 0, false, false, 0},           // "garbage"
                       });
    EXPECT_FALSE(Wrote());
}

TEST_F(RuleStoreTest, OverlongValuesAndKeysAreCutExactly)
{
    const std::string bucket(300, 'k');
    const std::string folder = "受信\\" + std::string(600, 'f');
    profile.loadText(kIni, "[MoveMail]\n" + bucket + "=" + folder + "\n[Action]\n" + bucket +
                               "=1," + std::string(400, '0') + "1,1\n");
    loadSortRules(rules, profile, files);
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0].bucket, bucket);
    EXPECT_EQ(rules[0].folder, folder.substr(0, 511));
    EXPECT_EQ(rules[0].action, 1);
    EXPECT_TRUE(rules[0].deleteFromServer);   // "000...01" is 1
    EXPECT_TRUE(rules[0].duplicateThenHostDeletes);
}

TEST_F(RuleStoreTest, OnlyKeyNamesThatFitIntoTheListLoad)
{
    // 500 names of 9 bytes: with their NULs 10 bytes each. The list keeps 4094 bytes:
    // 409 whole names and the first four bytes of the 410th, which is not trusted.
    std::string text = "[MoveMail]\n";
    for (int i = 0; i < 500; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "bucket%03d", i);
        text += std::string(name) + "=f" + std::to_string(i) + "\n";
    }
    profile.loadText(kIni, text);
    loadSortRules(rules, profile, files);
    ASSERT_EQ(rules.size(), 409u);
    EXPECT_EQ(rules.front().bucket, "bucket000");
    EXPECT_EQ(rules.back().bucket, "bucket408");
    EXPECT_EQ(rules.back().folder, "f408");
    EXPECT_EQ(rules.back().position, 408);
}

TEST_F(RuleStoreTest, ALastNameThatMayHaveBeenCutIsLeftOut)
{
    // 409 names fill 4090 bytes. A last name of 4 bytes makes the list end exactly at the
    // buffer's end, where a cut name would end too; one of 3 bytes leaves a byte free.
    std::string text = "[MoveMail]\n";
    for (int i = 0; i < 409; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "bucket%03d", i);
        text += std::string(name) + "=f\n";
    }
    profile.loadText(kIni, text + "last=f\n");
    loadSortRules(rules, profile, files);
    ASSERT_EQ(rules.size(), 409u);
    EXPECT_EQ(rules.back().bucket, "bucket408");

    profile.loadText(kIni, text + "end=f\n");
    loadSortRules(rules, profile, files);
    ASSERT_EQ(rules.size(), 410u);
    EXPECT_EQ(rules.back().bucket, "end");
}

TEST_F(RuleStoreTest, SaveRewritesTheSectionsAndKeepsStaleActions)
{
    LoadFixture("current.ini");
    loadSortRules(rules, profile, files);

    // Reorder, edit, add "news", delete "work" (which had an Action and a Mark line).
    SortRuleList edited = {rules[2], rules[0], Rule("news", "受信\\ニュース", 2, true, false, 0),
                           rules[3]};
    edited[0].mark = 0;
    edited[1].action = 0;
    edited[1].deleteFromServer = false;
    edited[1].duplicateThenHostDeletes = true;
    edited[1].mark = 5;
    edited[3].position = 77;
    saveSortRules(rules, edited, profile, files);

    EXPECT_EQ(profile.text(kIni), Fixture("after_save.ini"));
    ExpectRules(rules, {
                           {"ソフト", "郵便受け", 0, true, true, 0},
                           {"spam", "ごみ箱", 0, false, true, 5},
                           {"news", "受信\\ニュース", 2, true, false, 0},
                           {"personal", "送信箱", 0, false, false, 0},
                       });

    // The next start sees the same list in the same order; "work" and "old" stay out.
    SortRuleList reloaded;
    loadSortRules(reloaded, profile, files);
    ExpectRules(reloaded, {
                              {"ソフト", "郵便受け", 0, true, true, 0},
                              {"spam", "ごみ箱", 0, false, true, 5},
                              {"news", "受信\\ニュース", 2, true, false, 0},
                              {"personal", "送信箱", 0, false, false, 0},
                          });
}

TEST_F(RuleStoreTest, SaveOrderOfOperations)
{
    profile.loadText(kIni, "[MoveMail]\nspam=x\n");
    saveSortRules(rules,
                  {Rule("a", "A", 1, false, true, 2), Rule("b", "B", 2, true, false, 0),
                   Rule("c", "C", 0, false, false, 7)},
                  profile, files);
    using Kind = ProfileCall::Kind;
    const std::vector<ProfileCall> expected = {
        // Each delete is followed by a look for a repeated section of the same name.
        {Kind::DeleteSection, kIni, "Mark", "", ""},
        {Kind::ReadKeyNames, kIni, "Mark", "", ""},
        {Kind::DeleteSection, kIni, "MoveMail", "", ""},
        {Kind::ReadKeyNames, kIni, "MoveMail", "", ""},
        {Kind::WriteString, kIni, "MoveMail", "a", "A"},
        {Kind::WriteString, kIni, "Action", "a", "1,0,1"},
        {Kind::WriteString, kIni, "MoveMail", "b", "B"},
        {Kind::WriteString, kIni, "Action", "b", "2,1,0"},
        {Kind::WriteString, kIni, "MoveMail", "c", "C"},
        {Kind::WriteString, kIni, "Action", "c", "0,0,0"},
        {Kind::WriteString, kIni, "Mark", "a", "2"},
        {Kind::WriteString, kIni, "Mark", "c", "7"},
        {Kind::Flush, kIni, "", "", ""},
    };
    EXPECT_EQ(profile.calls(), expected);
}

TEST_F(RuleStoreTest, NegativeMarksAreNotWritten)
{
    saveSortRules(rules, {Rule("a", "A", 0, false, false, -3)}, profile, files);
    EXPECT_EQ(profile.value(kIni, "Mark", "a"), std::nullopt);
    EXPECT_EQ(profile.text(kIni), "[MoveMail]\na=A\n\n[Action]\na=0,0,0\n");
}

TEST(FindSortRuleTest, ComparesBucketsByteForByte)
{
    SortRuleList rules = {Rule("spam", "ごみ箱", 0, false, false, 0),
                          Rule("Spam", "A", 0, false, false, 0),
                          Rule("spam", "second", 0, false, false, 0),
                          Rule("ソフト", "B", 0, false, false, 0)};
    ASSERT_NE(FindSortRule(rules, "spam"), nullptr);
    EXPECT_EQ(FindSortRule(rules, "spam")->folder, "ごみ箱");  // the first of two
    ASSERT_NE(FindSortRule(rules, "Spam"), nullptr);
    EXPECT_EQ(FindSortRule(rules, "Spam")->folder, "A");
    EXPECT_EQ(FindSortRule(rules, "SPAM"), nullptr);
    EXPECT_EQ(FindSortRule(rules, "spam "), nullptr);
    EXPECT_EQ(FindSortRule(rules, ""), nullptr);
    ASSERT_NE(FindSortRule(rules, "ソフト"), nullptr);
    EXPECT_EQ(FindSortRule(rules, "ソフト")->folder, "B");
    EXPECT_EQ(FindSortRule({}, "spam"), nullptr);
}

TEST(HeaderRuleEncodingTest, EscapesColonsInBucketAndHeaderOnly)
{
    struct Row {
        HeaderRule rule;
        const char* value;
    };
    const Row rows[] = {
        {{"X-Spam-Flag:", "YES", "spam"}, "spam:X-Spam-Flag:::YES"},
        {{"From:", "a:b", "spam"}, "spam:From:::a:b"},
        {{"X:Odd:", "tail", "colon:bucket"}, "colon::bucket:X::Odd:::tail"},
        {{"Subject:", "", "spam"}, "spam:Subject:::"},
        {{"Subject:", "【業務】", "仕事"}, "仕事:Subject:::【業務】"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(EncodeHeaderRule(row.rule), row.value);
        HeaderRule decoded;
        ASSERT_TRUE(DecodeHeaderRule(row.value, decoded)) << row.value;
        ExpectHeaderRule(decoded, row.rule.bucket, row.rule.header, row.rule.search);
        EXPECT_TRUE(HeaderRuleRoundTrips(row.rule)) << row.value;
    }
}

TEST(HeaderRuleEncodingTest, ValuesWithFewerThanTwoSeparatorsAreRefused)
{
    for (const char* value : {"", "plain", "one:separator", "pairs::only::here", "a::",
                              "::::", "a:b::c"}) {
        HeaderRule decoded{"keep", "keep", "keep"};
        EXPECT_FALSE(DecodeHeaderRule(value, decoded)) << value;
    }
}

TEST(HeaderRuleEncodingTest, AColonAtAFieldBorderCannotBeToldApart)
{
    // The search text ":x" after "From:" gives "b:From::::x": four colons in a row are
    // all pairs, so no second separator is found and the rule would be lost.
    EXPECT_EQ(EncodeHeaderRule({"From:", ":x", "b"}), "b:From::::x");
    EXPECT_FALSE(HeaderRuleRoundTrips({"From:", ":x", "b"}));
    EXPECT_FALSE(HeaderRuleRoundTrips({"From:", "::x:y", "b"}));
    EXPECT_FALSE(HeaderRuleRoundTrips({"From", ":x", "b"}));
    EXPECT_FALSE(HeaderRuleRoundTrips({":From:", "x", "b"}));
    EXPECT_FALSE(HeaderRuleRoundTrips({"", "x", "b"}));
    // A colon inside or at the end of a field is fine.
    EXPECT_TRUE(HeaderRuleRoundTrips({"From:", "x:", "b:"}));
    EXPECT_TRUE(HeaderRuleRoundTrips({"X::Y:", "c:d", "a:b"}));
    EXPECT_TRUE(HeaderRuleRoundTrips({"From:", "", ""}));
}

TEST_F(RuleStoreTest, HeaderRulesLoadInFileOrderAndSkipBadValues)
{
    LoadFixture("headers.ini");
    loadHeaderRules(headerRules, profile, kIni);
    ASSERT_EQ(headerRules.size(), 6u);
    ExpectHeaderRule(headerRules[0], "spam", "From:", "a:b");                  // key 1
    ExpectHeaderRule(headerRules[1], "bulk", "X-Mailer:", "Mass Mailer");      // key 3
    ExpectHeaderRule(headerRules[2], "spam", "X-Spam-Flag:", "YES");           // key 2
    ExpectHeaderRule(headerRules[3], "colon:bucket", "X:Odd:", "tail");        // key 5
    ExpectHeaderRule(headerRules[4], "", "Subject:", "");                      // key 4
    ExpectHeaderRule(headerRules[5], "仕事", "Subject:", "【業務】");          // key 6
    EXPECT_FALSE(Wrote());
}

TEST_F(RuleStoreTest, LoadingHeaderRulesReplacesTheList)
{
    headerRules.push_back({"Old:", "old", "old"});
    loadHeaderRules(headerRules, profile, kIni);
    EXPECT_TRUE(headerRules.empty());
    EXPECT_FALSE(profile.exists(kIni));
}

TEST_F(RuleStoreTest, HeaderValuesAreSeenUpTo510Bytes)
{
    profile.loadText(kIni, "[AdditionalHeader]\n1=spam:Subject:::" + std::string(600, 'x') +
                               "\n2=" + std::string(520, 'b') + ":Subject:::y\n");
    loadHeaderRules(headerRules, profile, kIni);
    // The second value loses its separators with the cut and is skipped.
    ASSERT_EQ(headerRules.size(), 1u);
    ExpectHeaderRule(headerRules[0], "spam", "Subject:", std::string(510 - 15, 'x'));
}

TEST_F(RuleStoreTest, HeaderKeysThatDoNotFitInto511BytesAreNotLoaded)
{
    // Keys "1" to "200": 1..9 take 18 bytes, 10..99 take 270, 100 and up 4 each. Of the
    // 509 bytes kept, 100..154 fill 220; the single byte left holds a cut "1" of 155.
    std::string text = "[AdditionalHeader]\n";
    for (int i = 1; i <= 200; ++i) {
        text += std::to_string(i) + "=b" + std::to_string(i) + ":H:::s\n";
    }
    profile.loadText(kIni, text);
    loadHeaderRules(headerRules, profile, kIni);
    ASSERT_EQ(headerRules.size(), 154u);
    EXPECT_EQ(headerRules.front().bucket, "b1");
    EXPECT_EQ(headerRules.back().bucket, "b154");
}

TEST_F(RuleStoreTest, SaveHeaderRulesRenumbersAndRoundTrips)
{
    profile.loadText(kIni, "[Setup]\nCheckConnect=0\n[AdditionalHeader]\n1=a:B:::c\n2=d:E:::f\n"
                           "3=g:H:::i\n7=j:K:::l\n");
    const HeaderRuleList edited = {{"X-Spam-Flag:", "YES", "spam"},
                                   {"Subject:", "【業務】", "仕事"},
                                   {"From:", ":x", "lost"},
                                   {"X:Y:", "c:d", "a:b"}};
    saveHeaderRules(headerRules, edited, profile, kIni);

    EXPECT_EQ(profile.text(kIni), Fixture("headers_saved.ini"));
    EXPECT_EQ(profile.flushCount(kIni), 1);
    // The rule that cannot be stored is not kept in memory either.
    ASSERT_EQ(headerRules.size(), 3u);
    ExpectHeaderRule(headerRules[2], "a:b", "X:Y:", "c:d");

    HeaderRuleList reloaded;
    loadHeaderRules(reloaded, profile, kIni);
    ASSERT_EQ(reloaded.size(), 3u);
    for (std::size_t i = 0; i < reloaded.size(); ++i) {
        ExpectHeaderRule(reloaded[i], headerRules[i].bucket, headerRules[i].header,
                         headerRules[i].search);
    }
}

TEST_F(RuleStoreTest, SavingNoHeaderRulesRemovesTheSection)
{
    profile.loadText(kIni, "[AdditionalHeader]\n1=a:B:::c\n[Setup]\nCheckConnect=0\n");
    headerRules.push_back({"B:", "c", "a"});
    saveHeaderRules(headerRules, {}, profile, kIni);
    EXPECT_TRUE(headerRules.empty());
    EXPECT_EQ(profile.text(kIni), "[Setup]\nCheckConnect=0\n");
}

TEST_F(RuleStoreTest, SavingHeaderRulesLeavesNoRepeatedSectionBehind)
{
    std::string damaged = "[AdditionalHeader]\n1=old:From:::a\n[Setup]\nURL=x\n";
    for (int copy = 0; copy < 40; ++copy) {
        damaged += "[AdditionalHeader]\n1=stale:To:::b\n2=stale:Cc:::c\n";
    }
    profile.loadText(kIni, damaged);
    HeaderRule kept;
    kept.bucket = "work";
    kept.header = "Subject:";
    kept.search = "report";
    saveHeaderRules(headerRules, {kept}, profile, kIni);
    HeaderRuleList reloaded;
    loadHeaderRules(reloaded, profile, kIni);
    ASSERT_EQ(reloaded.size(), 1u);
    EXPECT_EQ(reloaded[0].bucket, "work");
    EXPECT_EQ(profile.value(kIni, "Setup", "URL"), std::optional<std::string>("x"));
}

TEST_F(RuleStoreTest, SavedHeaderRulesReadBackExactlyAndInOrderFromADamagedFile)
{
    // A second copy of the section with only a line without "=": its "3" would take key 3
    // ahead of keys 1 and 2. The values in quotes lose them on reading.
    profile.loadText(kIni, "[AdditionalHeader]\n1=spam:From:::a\n2=\" sp:X:a \"\n"
                           "3=\"\"x:Y:::z\"\"\n[Setup]\nURL=x\n[AdditionalHeader]\n3\n");
    loadHeaderRules(headerRules, profile, kIni);
    ASSERT_EQ(headerRules.size(), 3u);
    ExpectHeaderRule(headerRules[1], " sp", "X", "a ");
    ExpectHeaderRule(headerRules[2], "\"x", "Y:", "z\"");

    // Values of 509 and 510 bytes that need quotes: only the first reads back whole.
    HeaderRuleList edited = headerRules;
    edited.push_back({"Subject:", std::string(493, 's') + " ", "spam"});
    edited.push_back({"Subject:", std::string(494, 's') + " ", "spam"});
    EXPECT_TRUE(HeaderRuleFitsInFile(edited[3]));
    EXPECT_FALSE(HeaderRuleFitsInFile(edited[4]));
    HeaderRuleList saved;
    saveHeaderRules(saved, edited, profile, kIni);
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(profile.value(kIni, "AdditionalHeader", "2"),
              std::optional<std::string>("\" sp:X:a \""));

    HeaderRuleList reloaded;
    loadHeaderRules(reloaded, profile, kIni);
    ASSERT_EQ(reloaded.size(), saved.size());
    for (std::size_t i = 0; i < reloaded.size(); ++i) {
        SCOPED_TRACE("rule " + std::to_string(i));
        ExpectHeaderRule(reloaded[i], saved[i].bucket, saved[i].header, saved[i].search);
    }
    EXPECT_EQ(profile.value(kIni, "Setup", "URL"), std::optional<std::string>("x"));
}

TEST_F(RuleStoreTest, SavingSortRulesLeavesNoRepeatedSectionBehind)
{
    profile.loadText(kIni, "[MoveMail]\nspam=ごみ箱\n[Mark]\nspam=2\n"
                           "[MoveMail]\nold=仕事\n[Mark]\nold=3\n[MoveMail]\nolder=仕事\n");
    SortRule work;
    work.bucket = "work";
    work.folder = "仕事";
    saveSortRules(rules, {work}, profile, files);
    SortRuleList reloaded;
    loadSortRules(reloaded, profile, files);
    ASSERT_EQ(reloaded.size(), 1u);
    EXPECT_EQ(reloaded[0].bucket, "work");
    EXPECT_EQ(profile.value(kIni, "Mark", "old"), std::nullopt);
}

}  // namespace
