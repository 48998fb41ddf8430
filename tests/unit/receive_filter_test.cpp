#include "plugin/receive_filter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/platform.h"
#include "doubles/code_page_converter_fake.h"
#include "doubles/file_system_fake.h"
#include "doubles/folder_bold_marker_fake.h"
#include "doubles/host_services_fake.h"
#include "doubles/profile_store_fake.h"
#include "host_mailbox_fixture.h"
#include "mail/classification.h"
#include "mail/header_lookups.h"
#include "mail/mail_text.h"
#include "mail/received_mail.h"
#include "mailbox/mailbox.h"
#include "plugin/plugin_state.h"

namespace {

namespace fs = std::filesystem;

// Where the host keeps received messages of the fixture account "home" (title "Home").
const std::string kInbox = "home\\inbox.box\\";

std::string MailFixture(const std::string& name)
{
    return TestDataPath("mail/receive/" + name);
}

SortRule Rule(const std::string& bucket, const std::string& folder, int32_t action = kActionChangeIcon)
{
    SortRule rule;
    rule.bucket = bucket;
    rule.folder = folder;
    rule.action = action;
    return rule;
}

// A real mailbox directory: the host's backslashed paths below it are single file names
// on this system, which is all the filter's own file access needs.
class ScratchMailbox {
public:
    ScratchMailbox()
    {
        std::string pattern = (fs::temp_directory_path() / "tarnwick-receive-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            directory_ = pattern;
        }
    }
    ~ScratchMailbox()
    {
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }
    ScratchMailbox(const ScratchMailbox&) = delete;
    ScratchMailbox& operator=(const ScratchMailbox&) = delete;

    bool ready() const { return !directory_.empty(); }
    std::string root() const { return directory_ + "/"; }

    // Stores bytes as a received message and returns its full path.
    std::string store(const std::string& reference, const std::string& bytes) const
    {
        const std::string path = root() + reference;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private:
    std::string directory_;
};

class ReceiveFilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mailbox.ready());
        ASSERT_FALSE(files.useRealTempFolder().empty());
        host.mailbox = mailbox.root();
        LoadHostMailboxFixture(profile, mailbox.root());
        state.host = host.api;
        state.settings.DispDialog = true;
        state.settings.DispFrom = true;
        state.settings.DispSubject = true;
        state.settings.AfterSetBold = true;
    }

    void addRule(SortRule rule)
    {
        rule.position = static_cast<int32_t>(state.sortRules.size());
        state.sortRules.push_back(std::move(rule));
    }

    // Stores the fixture as message 00001 of the inbox, runs the filter on it and checks
    // that the message file is byte for byte what was stored.
    int receive(const std::string& fixture)
    {
        const std::string bytes = ReadDiskFile(MailFixture(fixture));
        mailPath = mailbox.store(kInbox + "00001.CRV", bytes);
        const int result = FilterReceivedMail(state, platform, folderTrees, mailPath);
        EXPECT_EQ(ReadDiskFile(mailPath), bytes) << fixture << " was changed";
        return result;
    }

    std::vector<std::string> servicesCalled() const
    {
        std::vector<std::string> names;
        for (const auto& call : host.calls) {
            if (call.service != "APAGetMailbox") {
                names.push_back(call.service);
            }
        }
        return names;
    }

    int tallyOf(const std::string& displayPath) const
    {
        const AccountTally* account = FindAccountTally(state.newMailTally, mailbox.root() + "home\\");
        const FolderTally* folder = account != nullptr ? account->findFolder(displayPath) : nullptr;
        return folder != nullptr ? folder->count : 0;
    }

    ScratchMailbox mailbox;
    HostServicesFake host;
    ProfileStoreFake profile;
    FileSystemFake files;
    CodePageConverterFake codePage;
    Platform platform{profile, files, codePage};
    FolderBoldMarkerFake folderTrees;
    PluginState state;
    std::string mailPath;
};

using Names = std::vector<std::string>;
const std::string kReference = kInbox + "00001";

TEST_F(ReceiveFilterTest, InboxRuleLeavesTheMessageWhereItIs)
{
    addRule(Rule("personal", "郵便受け"));
    EXPECT_EQ(receive("inbox_bucket.CRV"), 0);
    EXPECT_EQ(servicesCalled(), Names{});
    ASSERT_EQ(state.receivedEntries.size(), 1u);
    EXPECT_EQ(state.receivedEntries[0].subject, "Dinner tonight?");
    EXPECT_EQ(tallyOf("郵便受け"), 1);
    EXPECT_TRUE(state.iconChangeWanted);

    state.sortRules[0].deleteFromServer = true;
    EXPECT_EQ(receive("inbox_bucket.CRV"), kResultDeleteFromServer);
    EXPECT_EQ(servicesCalled(), Names{});
}

TEST_F(ReceiveFilterTest, OtherFolderGetsACopyAndTheReceivedMessageIsDeleted)
{
    addRule(Rule("work", "G\\x"));
    EXPECT_EQ(receive("work.CRV"), 0);
    EXPECT_EQ(servicesCalled(), (Names{"APASaveMail", "APAImportFile", "APADeleteMail"}));
    const auto save = host.callsTo("APASaveMail").at(0);
    const auto import = host.callsTo("APAImportFile").at(0);
    EXPECT_EQ(save.arguments[0], kReference);
    EXPECT_EQ(import.arguments[0], save.arguments[1]);
    EXPECT_EQ(import.arguments[1], "Home\\G\\x");
    EXPECT_EQ(host.callsTo("APADeleteMail").at(0).arguments[0], kReference);
    EXPECT_TRUE(files.liveTempFiles().empty());
    EXPECT_EQ(tallyOf("G\\x"), 1);
    EXPECT_EQ(tallyOf("郵便受け"), 0);

    state.sortRules[0].deleteFromServer = true;
    EXPECT_EQ(receive("work.CRV"), kResultDeleteFromServer);
    EXPECT_EQ(tallyOf("G\\x"), 2);
}

TEST_F(ReceiveFilterTest, DuplicateLeavesTheReceivedMessageToTheHost)
{
    SortRule rule = Rule("spam", "ごみ箱");
    rule.duplicateThenHostDeletes = true;
    addRule(rule);
    EXPECT_EQ(receive("spam.CRV"), kResultHostDeletesCopy);
    EXPECT_EQ(servicesCalled(), (Names{"APASaveMail", "APAImportFile"}));
    EXPECT_EQ(host.callsTo("APAImportFile").at(0).arguments[1], "Home\\ごみ箱");
}

TEST_F(ReceiveFilterTest, DuplicateIntoTheInboxImportsASecondCopy)
{
    SortRule rule = Rule("personal", "郵便受け");
    rule.duplicateThenHostDeletes = true;
    rule.deleteFromServer = true;
    addRule(rule);
    EXPECT_EQ(receive("inbox_bucket.CRV"), kResultHostDeletesCopy | kResultDeleteFromServer);
    EXPECT_EQ(servicesCalled(), (Names{"APASaveMail", "APAImportFile"}));
    EXPECT_EQ(host.callsTo("APAImportFile").at(0).arguments[1], "Home\\郵便受け");
}

TEST_F(ReceiveFilterTest, HeaderRuleBeforeTheClassificationDecides)
{
    state.headerRules.push_back(HeaderRule{"From:", "boss@", "work"});
    addRule(Rule("spam", "ごみ箱"));
    addRule(Rule("work", "G\\y"));
    receive("boss_before_classification.CRV");
    EXPECT_EQ(host.callsTo("APAImportFile").at(0).arguments[1], "Home\\G\\y");
    EXPECT_EQ(state.receivedEntries.at(0).ruleIndex, 1);
}

TEST_F(ReceiveFilterTest, HeaderRuleAfterTheClassificationComesTooLate)
{
    state.headerRules.push_back(HeaderRule{"X-Spam-Flag:", "YES", "spam"});
    addRule(Rule("spam", "ごみ箱"));
    addRule(Rule("work", "G\\y"));
    receive("flag_after_classification.CRV");
    EXPECT_EQ(host.callsTo("APAImportFile").at(0).arguments[1], "Home\\G\\y");
}

TEST_F(ReceiveFilterTest, UnknownBucketsLeaveTheMessageUnmarkedInTheInbox)
{
    // Buckets compare byte for byte: letter case and trailing blanks count.
    SortRule rule = Rule("spam", "ごみ箱");
    rule.mark = 2;
    rule.deleteFromServer = true;
    addRule(rule);
    for (const char* fixture : {"capital_bucket.CRV", "trailing_blanks.CRV", "no_classifier.CRV"}) {
        state.iconChangeWanted = false;
        EXPECT_EQ(receive(fixture), 0) << fixture;
        EXPECT_TRUE(state.iconChangeWanted) << fixture;
    }
    EXPECT_EQ(servicesCalled(), Names{});
    EXPECT_TRUE(state.receivedEntries.empty());
    EXPECT_EQ(tallyOf("郵便受け"), 3);
}

TEST_F(ReceiveFilterTest, EveryCountedMessageHasItsFolderMarkedBoldInItsAccount)
{
    addRule(Rule("work", "G\\x"));
    addRule(Rule("news", ""));  // names no folder
    receive("work.CRV");
    receive("work.CRV");
    receive("news.CRV");
    const std::string loose = mailbox.store("loose.CRV", ReadDiskFile(MailFixture("work.CRV")));
    FilterReceivedMail(state, platform, folderTrees, loose);  // no account directory
    const std::string otherAccount = mailbox.store("work\\inbox.box\\00001.CRV",
                                                   ReadDiskFile(MailFixture("no_classifier.CRV")));
    FilterReceivedMail(state, platform, folderTrees, otherAccount);
    const std::string home = mailbox.root() + "home\\";
    EXPECT_EQ(folderTrees.marked, (std::vector<std::string>{home + "|G\\x", home + "|G\\x",
                                                            mailbox.root() + "work\\|郵便受け"}));
}

TEST_F(ReceiveFilterTest, NoTallyWithoutAfterSetBold)
{
    state.settings.AfterSetBold = false;
    addRule(Rule("work", "G\\x"));
    receive("work.CRV");
    receive("no_classifier.CRV");
    EXPECT_TRUE(state.newMailTally.accounts.empty());
    EXPECT_TRUE(folderTrees.marked.empty());
}

TEST_F(ReceiveFilterTest, ActionNothingStillFilesMarksAndRecords)
{
    SortRule rule = Rule("news", "News", kActionNothing);
    rule.mark = 3;
    addRule(rule);
    EXPECT_EQ(receive("news.CRV"), 0);
    const auto marks = host.callsTo("APAMarkMail");
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].arguments, (std::vector<std::string>{kReference, "3", "1"}));
    EXPECT_EQ(state.receivedEntries.size(), 1u);
    EXPECT_FALSE(state.iconChangeWanted);
}

TEST_F(ReceiveFilterTest, FailedImportStillMarksButRecordsNothing)
{
    SortRule rule = Rule("work", "G\\x");
    rule.mark = 5;
    rule.deleteFromServer = true;
    rule.duplicateThenHostDeletes = true;
    addRule(rule);
    host.importResult = 0;
    EXPECT_EQ(receive("work.CRV"), 0);
    EXPECT_EQ(servicesCalled(), (Names{"APASaveMail", "APAImportFile", "APAMarkMail"}));
    EXPECT_TRUE(state.receivedEntries.empty());
    EXPECT_TRUE(state.iconChangeWanted);
    EXPECT_EQ(tallyOf("G\\x"), 0);
    EXPECT_TRUE(files.liveTempFiles().empty());

    host.importResult = 1;
    EXPECT_EQ(receive("work.CRV"), kResultDeleteFromServer | kResultHostDeletesCopy);
}

TEST_F(ReceiveFilterTest, SenderAndSubjectAreRecordedRawWhenShown)
{
    addRule(Rule("work", "郵便受け"));
    receive("japanese_subject.CRV");
    state.settings.DispSubject = false;
    receive("japanese_subject.CRV");
    state.settings.DispSubject = true;
    state.settings.DispDialog = false;
    receive("japanese_subject.CRV");
    ASSERT_EQ(state.receivedEntries.size(), 3u);
    EXPECT_EQ(state.receivedEntries[0].from, "Tanaka Taro <tanaka@example.jp>");
    EXPECT_EQ(state.receivedEntries[0].subject, "=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=");
    EXPECT_EQ(state.receivedEntries[1].from, "Tanaka Taro <tanaka@example.jp>");
    EXPECT_EQ(state.receivedEntries[1].subject, "");
    EXPECT_EQ(state.receivedEntries[2].from, "");
    EXPECT_EQ(state.receivedEntries[2].subject, "");
}

TEST_F(ReceiveFilterTest, ExcerptOnlyForAutoReceiveAndShowMessage)
{
    addRule(Rule("work", "郵便受け", kActionShowMessage));
    addRule(Rule("news", "郵便受け", kActionChangeIcon));
    receive("work.CRV");
    state.settings.AutoReceive = true;
    receive("work.CRV");
    receive("news.CRV");
    ASSERT_EQ(state.receivedEntries.size(), 3u);
    EXPECT_EQ(state.receivedEntries[0].excerpt, "");
    EXPECT_EQ(state.receivedEntries[1].excerpt.rfind("Hello Suzuki, the report is attached.", 0), 0u);
    EXPECT_EQ(state.receivedEntries[2].excerpt, "");
}

// The account's title is read once while its "account.ini" stays as it is; an edited file
// is read again, so a renamed account gets the message under its new title.
TEST_F(ReceiveFilterTest, AccountTitleIsReadAgainOnlyAfterTheFileChanged)
{
    addRule(Rule("work", "G\\x"));
    const std::string accountFile = mailbox.root() + "home\\account.ini";
    files.setStamp(accountFile, FileStamp{100, 1});
    profile.clearCalls();
    receive("work.CRV");
    receive("work.CRV");
    const auto titleReads = [this, &accountFile] {
        int reads = 0;
        for (const ProfileCall& call : profile.calls()) {
            reads += call.kind == ProfileCall::Kind::ReadString && call.file == accountFile ? 1 : 0;
        }
        return reads;
    };
    EXPECT_EQ(titleReads(), 1);

    profile.loadText(accountFile, "[Property]\nTitle=Renamed\n");
    files.setStamp(accountFile, FileStamp{100, 2});
    receive("work.CRV");
    EXPECT_EQ(titleReads(), 2);
    const auto imports = host.callsTo("APAImportFile");
    ASSERT_EQ(imports.size(), 3u);
    EXPECT_EQ(imports[1].arguments[1], "Home\\G\\x");
    EXPECT_EQ(imports[2].arguments[1], "Renamed\\G\\x");
}

TEST_F(ReceiveFilterTest, OverlongAccountTitleIsCut)
{
    addRule(Rule("work", "F"));
    const std::string bytes = ReadDiskFile(MailFixture("work.CRV"));
    mailPath = mailbox.store("longtitle\\inbox.box\\00001.CRV", bytes);
    FilterReceivedMail(state, platform, folderTrees, mailPath);
    EXPECT_EQ(host.callsTo("APAImportFile").at(0).arguments[1], std::string(199, 'L') + "\\F");
}

TEST_F(ReceiveFilterTest, MissingAccountFileGivesAnEmptyTitle)
{
    addRule(Rule("work", "F"));
    mailPath = mailbox.store("nowhere\\inbox.box\\00001.CRV", ReadDiskFile(MailFixture("work.CRV")));
    FilterReceivedMail(state, platform, folderTrees, mailPath);
    EXPECT_EQ(host.callsTo("APAImportFile").at(0).arguments[1], "\\F");
}

TEST_F(ReceiveFilterTest, BadMessagesFailQuietlyAndStayUnchanged)
{
    addRule(Rule("spam", "ごみ箱"));
    addRule(Rule(std::string(200, 'b'), "Long"));
    const std::vector<std::string> fixtures = {
        "empty.CRV", "headers_only.CRV", "headers_only_lf.CRV", "long_bucket.CRV",
        "nul_bytes.CRV", "binary_junk.CRV", "two_blanks_after_subject.CRV"};
    for (const std::string& fixture : fixtures) {
        const int result = receive(fixture);
        EXPECT_TRUE(result == 0 || result == kResultDeleteFromServer) << fixture;
    }
    // Only the two classified ones are filed: headers_only is spam, long_bucket's 300-byte
    // bucket is cut to the 200 bytes of the second rule.
    const auto imports = host.callsTo("APAImportFile");
    ASSERT_EQ(imports.size(), 2u);
    EXPECT_EQ(imports[0].arguments[1], "Home\\ごみ箱");
    EXPECT_EQ(imports[1].arguments[1], "Home\\Long");
}

TEST_F(ReceiveFilterTest, MissingMessageFileIsLeftToTheHost)
{
    addRule(Rule("spam", "ごみ箱"));
    EXPECT_EQ(FilterReceivedMail(state, platform, folderTrees, mailbox.root() + kInbox + "99999.CRV"), 0);
    EXPECT_EQ(servicesCalled(), Names{});
    EXPECT_TRUE(state.iconChangeWanted);
}

// ---- Classification ----------------------------------------------------------------------

class ClassifyMailTest : public ::testing::Test {
protected:
    std::optional<std::string> classify(const std::string& fixture)
    {
        return ClassifyMail(MailFixture(fixture), rules);
    }
    HeaderRuleList rules;
};

TEST_F(ClassifyMailTest, ClassificationHeaderGivesTheBucket)
{
    EXPECT_EQ(classify("spam.CRV"), "spam");
    EXPECT_EQ(classify("trailing_blanks.CRV"), "spam  \t");
    EXPECT_EQ(classify("cr_line_ends.CRV"), "work");
    EXPECT_EQ(classify("lower_case_header.CRV"), "work");
    EXPECT_EQ(classify("headers_only.CRV"), "spam");
    EXPECT_EQ(classify("headers_only_lf.CRV"), "work");
}

TEST_F(ClassifyMailTest, OneEmptyLineAfterTheSubjectIsSkipped)
{
    EXPECT_EQ(classify("blank_after_subject.CRV"), "spam");
    EXPECT_EQ(classify("two_blanks_after_subject.CRV"), std::nullopt);
}

TEST_F(ClassifyMailTest, NothingWithoutAHeaderThatDecides)
{
    EXPECT_EQ(classify("no_classifier.CRV"), std::nullopt);
    EXPECT_EQ(classify("empty.CRV"), std::nullopt);
    EXPECT_EQ(classify("does_not_exist.CRV"), std::nullopt);
}

TEST_F(ClassifyMailTest, BucketIsCutToTheBuffer)
{
    EXPECT_EQ(classify("long_bucket.CRV"), std::string(200, 'b'));
    EXPECT_EQ(ClassifyMail(MailFixture("spam.CRV"), rules, 3), "sp");
    // A NUL byte ends the bucket as it ends a C string.
    EXPECT_EQ(classify("nul_bytes.CRV"), "sp");
}

TEST_F(ClassifyMailTest, HeaderRulesMatchFirstInListOrder)
{
    rules.push_back(HeaderRule{"To:", "nobody", "never"});
    rules.push_back(HeaderRule{"from:", "tanaka", "first"});
    rules.push_back(HeaderRule{"From:", "", "second"});
    EXPECT_EQ(classify("work.CRV"), "first");
    EXPECT_EQ(classify("spam.CRV"), "second");
}

TEST_F(ClassifyMailTest, OneMegabyteHeaderLineIsReadThrough)
{
    ScratchMailbox mailbox;
    ASSERT_TRUE(mailbox.ready());
    const std::string huge(1 << 20, 'a');
    const std::string before = mailbox.store(
        "before.CRV", "X-Long: " + huge + "\r\nX-Text-Classification: spam\r\n\r\nbody\r\n");
    EXPECT_EQ(ClassifyMail(before, rules), "spam");
    const std::string value =
        mailbox.store("value.CRV", "X-Text-Classification: " + huge + "\r\n\r\n");
    EXPECT_EQ(ClassifyMail(value, rules), std::string(200, 'a'));
    rules.push_back(HeaderRule{"X-Long:", "aab", "never"});
    EXPECT_EQ(ClassifyMail(before, rules), "spam");
}

// One reading of the header block answers each question as its own lookup does, also where
// they differ: after a folded Subject the empty line still ends the block for the sender
// lookup, while the bucket scan skips it.
TEST(ReceivedMailTest, OnePassAnswersAsTheSingleLookups)
{
    ScratchMailbox mailbox;
    ASSERT_TRUE(mailbox.ready());
    const HeaderRuleList rules = {HeaderRule{"From:", "boss@", "work"}};
    const std::string folded = mailbox.store(
        "folded.CRV", "Subject: part one\r\n two\r\n\r\nFrom: boss@example.jp\r\n"
                      "X-Text-Classification: spam\r\n\r\nbody\r\n");
    const std::string plain = mailbox.store(
        "plain.CRV", "Subject: one\r\n\r\nFrom: Boss <boss@example.jp>\r\n\r\nbody\r\n");
    for (const std::string& path : {folded, plain}) {
        const ReceivedHeader header = ReceivedMail(path).readHeader(rules, true, true);
        EXPECT_EQ(header.bucket, ClassifyMail(path, rules)) << path;
        EXPECT_EQ(header.from, FindHeaderValue(path, "From:")) << path;
        EXPECT_EQ(header.subject, FindHeaderValue(path, "Subject:")) << path;
    }
    EXPECT_EQ(ReceivedMail(folded).readHeader(rules, true, true).bucket, "work");
    EXPECT_EQ(ReceivedMail(folded).readHeader(rules, true, true).from, std::nullopt);
    EXPECT_EQ(ReceivedMail(plain).readHeader(rules, true, false).from, "Boss <boss@example.jp>");
    EXPECT_EQ(ReceivedMail(plain).readHeader(rules, true, false).subject, std::nullopt);
    EXPECT_EQ(ReceivedMail(mailbox.root() + "missing.CRV").readHeader(rules, true, true).bucket,
              std::nullopt);
}

TEST(MatchHeaderRuleTest, SearchesTheValueExactlyAfterTheName)
{
    const HeaderRuleList rules = {
        {"X-Spam-Flag:", "YES", "spam"},
        {"Subject:", "[ad]", "ads"},
        {"X-Barracuda-Spam-Flag:", "", "barracuda"},
    };
    EXPECT_EQ(MatchHeaderRule(rules, "X-Spam-Flag: YES"), 0);
    EXPECT_EQ(MatchHeaderRule(rules, "x-spam-flag:\t YES"), 0);
    EXPECT_EQ(MatchHeaderRule(rules, "X-Spam-Flag: yes"), -1);
    EXPECT_EQ(MatchHeaderRule(rules, "X-Spam-Flag: NO"), -1);
    // The folded continuation belongs to the logical line.
    EXPECT_EQ(MatchHeaderRule(rules, "Subject: Sale\nnow [ad]"), 1);
    EXPECT_EQ(MatchHeaderRule(rules, "X-Barracuda-Spam-Flag:"), 2);
    EXPECT_EQ(MatchHeaderRule(rules, "X-Spam: YES"), -1);
    EXPECT_EQ(MatchHeaderRule({}, "X-Spam-Flag: YES"), -1);
}

TEST(MailReferenceTest, CutsTheMailboxAndTheExtension)
{
    const std::string root = "C:\\Mail\\";
    EXPECT_EQ(MailReference(root.size(), root + "home\\inbox.box\\00001.CRV"), "home\\inbox.box\\00001");
    EXPECT_EQ(MailReference(root.size(), root + "abcd"), "abcd");
    EXPECT_EQ(MailReference(root.size(), root + "abcde"), "a");
    EXPECT_EQ(MailReference(root.size(), "C:\\"), "");
}

TEST(ReadAccountTitleTest, ReadsTheTitleOfTheMailsAccount)
{
    HostServicesFake host;
    host.mailbox = "C:\\Mail\\";
    ProfileStoreFake profile;
    LoadHostMailboxFixture(profile, host.mailbox);
    EXPECT_EQ(ReadAccountTitle(host.api, profile, "C:\\Mail\\home\\inbox.box\\1.CRV"), "Home");
    EXPECT_EQ(ReadAccountTitle(host.api, profile, "C:\\Mail\\longtitle\\inbox.box\\1.CRV"),
              std::string(199, 'L'));
    EXPECT_EQ(ReadAccountTitle(host.api, profile, "C:\\Mail\\nowhere\\inbox.box\\1.CRV"), "");
    EXPECT_EQ(ReadAccountTitle(host.api, profile, "C:\\Mail\\loose.CRV"), "");
    EXPECT_EQ(ReadAccountTitle(host.api, profile, "C:\\"), "");
}

}  // namespace
