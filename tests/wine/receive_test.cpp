// Received messages through the replacement host: the real plug-in classifies and files a
// retrieval by the rules of Plugins\tarnwick.ini; and the receive filter in-process, where
// its folder counts and the folder catalogue can be inspected against the host's own files.
#include "host_fixture.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "base/profile_store_win.h"
#include "base/code_page_win.h"
#include "base/file_system_win.h"
#include "base/platform.h"
#include "host/folder_tree.h"
#include "plugin/plugin_state.h"
#include "plugin/receive_filter.h"

namespace {

// A fixture of tests/data/mail/receive, reached through Wine's drive for the Unix root.
std::string ReceiveFixture(const std::string& name)
{
    std::string path = std::string("Z:") + TARNWICK_TEST_DATA + "/mail/receive/" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string FixtureBytes(const std::string& name)
{
    const std::optional<std::string> bytes = ReadFileBytes(ReceiveFixture(name));
    EXPECT_TRUE(bytes.has_value()) << ReceiveFixture(name);
    return bytes.value_or(std::string());
}

// The user's rules: sorting rules with every action, flag and a few marks, and header rules
// on a header before and one after the classification header.
const char* const kPluginIni =
    "[Setup]\r\n"
    "AfterSetBold=1\r\n"
    "CheckConnect=0\r\n"
    "[MoveMail]\r\n"
    "spam=ごみ箱\r\n"
    "work=Projects\\Alpha\r\n"
    "news=News\r\n"
    "personal=郵便受け\r\n"
    "receipts=Receipts\r\n"
    "inboxcopy=郵便受け\r\n"
    "[Action]\r\n"
    "spam=0,1,0\r\n"
    "work=1,0,0\r\n"
    "news=2,0,1\r\n"
    "personal=0,0,0\r\n"
    "receipts=1,1,1\r\n"
    "inboxcopy=0,0,1\r\n"
    "[Mark]\r\n"
    "spam=7\r\n"
    "news=3\r\n"
    "personal=2\r\n"
    "receipts=5\r\n"
    "[AdditionalHeader]\r\n"
    "1=work:From:::boss@\r\n"
    "2=spam:X-Spam-Flag:::YES\r\n"
    "3=inboxcopy:Subject:::No body\r\n";

enum class Place { Inbox, Trash, Alpha, News, Receipts };

struct Expectation {
    const char* fixture;
    int result;
    Place copiedTo;      // where the message ends up (Inbox: it stays where it was received)
    bool sourceKept;     // the received file still exists
    int mark;            // mark the plug-in asked for, 0 for none
};

const Expectation kRetrieval[] = {
    {"spam.CRV", 1, Place::Trash, false, 7},
    {"work.CRV", 0, Place::Alpha, false, 0},
    {"boss_before_classification.CRV", 0, Place::Alpha, false, 0},
    {"flag_after_classification.CRV", 0, Place::Alpha, false, 0},
    {"news.CRV", 4, Place::News, false, 3},
    {"inbox_bucket.CRV", 0, Place::Inbox, true, 2},
    {"receipt.CRV", 5, Place::Receipts, false, 5},
    {"capital_bucket.CRV", 0, Place::Inbox, true, 0},
    {"trailing_blanks.CRV", 0, Place::Inbox, true, 0},
    {"no_classifier.CRV", 0, Place::Inbox, true, 0},
    {"blank_after_subject.CRV", 1, Place::Trash, false, 7},
    {"cr_line_ends.CRV", 0, Place::Alpha, false, 0},
    {"lower_case_header.CRV", 0, Place::Alpha, false, 0},
    {"japanese_subject.CRV", 0, Place::Alpha, false, 0},
    {"headers_only_lf.CRV", 4, Place::Inbox, false, 0},
    {"binary_junk.CRV", 0, Place::Inbox, true, 0},
    {"empty.CRV", 0, Place::Inbox, true, 0},
    {"long_bucket.CRV", 0, Place::Inbox, true, 0},
};

class ReceiveTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        account = addAccount("acct", "Home");
        news = mailbox().addFolder(account, "News");
        const std::string projects = mailbox().addGroup(account, "Projects");
        alpha = mailbox().addFolder(projects, "Alpha");
        receipts = mailbox().addFolder(account, "Receipts");
    }

    std::string folderOf(Place place) const
    {
        switch (place) {
        case Place::Inbox:
            return Mailbox::inbox(account);
        case Place::Trash:
            return Mailbox::trash(account);
        case Place::Alpha:
            return alpha;
        case Place::News:
            return news;
        case Place::Receipts:
            return receipts;
        }
        return std::string();
    }

    // The marks the plug-in set on one reference, as "mark,set".
    std::vector<std::string> marksOf(const std::string& reference)
    {
        std::vector<std::string> marks;
        for (const HostCall& call : host().callsTo("APAMarkMail")) {
            if (call.arguments[0] == reference) {
                marks.push_back(call.arguments[1] + "," + call.arguments[2]);
            }
        }
        return marks;
    }

    std::string account;
    std::string news;
    std::string alpha;
    std::string receipts;
};

TEST_F(ReceiveTest, RetrievalIsFiledByTheRulesAndNoMessageIsChanged)
{
    writePluginIni(kPluginIni);
    ASSERT_TRUE(startPlugin());

    std::vector<std::string> files;
    for (const Expectation& expected : kRetrieval) {
        files.push_back(ReceiveFixture(expected.fixture));
    }
    // The rules of action 1 report their messages at the end.
    DialogWatcher summary("Tarnwickメール振り分け");
    const std::vector<RetrievedMessage> retrieved = host().retrieveFiles(account, files);
    ASSERT_EQ(retrieved.size(), std::size(kRetrieval));
    ASSERT_TRUE(summary.waitFor(1));
    const std::string text = summary.seen()[0].text;
    EXPECT_EQ(text.rfind("[Projects\\Alpha]へ 6 件移動しました\n", 0), 0u) << Utf8(text);
    EXPECT_NE(text.find("\n[Receipts]へ 1 件移動しました\n"), std::string::npos) << Utf8(text);

    for (std::size_t index = 0; index < retrieved.size(); ++index) {
        const Expectation& expected = kRetrieval[index];
        const RetrievedMessage& message = retrieved[index];
        const std::string original = FixtureBytes(expected.fixture);
        SCOPED_TRACE(expected.fixture);

        EXPECT_EQ(message.result, expected.result);
        EXPECT_EQ(mailbox().messageExists(message.reference), expected.sourceKept);
        if (expected.sourceKept) {
            EXPECT_EQ(mailbox().readMessage(message.reference), original);
        }
        const std::vector<std::string> copies = host().copiesOf(message.reference);
        if (expected.copiedTo == Place::Inbox && expected.sourceKept) {
            EXPECT_TRUE(copies.empty());
        } else {
            ASSERT_EQ(copies.size(), 1u);
            EXPECT_EQ(Mailbox::folderOf(copies[0]), folderOf(expected.copiedTo));
            EXPECT_EQ(mailbox().readMessage(copies[0]), original) << "the copy differs";
        }
        const std::vector<std::string> wantedMarks =
            expected.mark > 0 ? std::vector<std::string>{std::to_string(expected.mark) + ",1"}
                              : std::vector<std::string>{};
        EXPECT_EQ(marksOf(message.reference), wantedMarks);
    }
    EXPECT_EQ(mailbox().messagesIn(alpha).size(), 6u);
    EXPECT_EQ(mailbox().messagesIn(Mailbox::trash(account)).size(), 2u);
    EXPECT_EQ(host().serverDeletes().size(), 3u);
    EXPECT_EQ(host().markOf(retrieved[5].reference), 2) << "the inbox message keeps its mark";
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(ReceiveTest, NothingIsFiledWithoutRules)
{
    writePluginIni("[Setup]\r\nCheckConnect=0\r\n[MoveMail]\r\n");
    ASSERT_TRUE(startPlugin());
    const std::vector<RetrievedMessage> retrieved =
        host().retrieveFiles(account, {ReceiveFixture("spam.CRV"), ReceiveFixture("work.CRV")});
    ASSERT_EQ(retrieved.size(), 2u);
    for (const RetrievedMessage& message : retrieved) {
        EXPECT_EQ(message.result, 0);
        EXPECT_TRUE(mailbox().messageExists(message.reference));
    }
    EXPECT_TRUE(host().callsTo("APASaveMail").empty());
    EXPECT_TRUE(host().callsTo("APAMarkMail").empty());
}

// The filter in this process, over the host's services and the real profile reader, so the
// folder counts can be read.
class ReceiveInProcessTest : public ReceiveTest {
protected:
    void SetUp() override
    {
        ReceiveTest::SetUp();
        state.host = hostServices();
        ASSERT_TRUE(state.host.resolved());
        state.settings.AfterSetBold = true;
        state.sortRules = {rule("spam", "ごみ箱"), rule("work", "Projects\\Alpha"),
                           rule("news", "News")};
    }

    SortRule rule(const std::string& bucket, const std::string& folder)
    {
        SortRule made;
        made.position = static_cast<int32_t>(state.sortRules.size());
        made.bucket = bucket;
        made.folder = folder;
        return made;
    }

    int receive(const std::string& fixture)
    {
        const std::string reference =
            mailbox().addMessageFromFile(Mailbox::inbox(account), ReceiveFixture(fixture));
        return FilterReceivedMail(state, platform, noFolderWindow, mailbox().messagePath(reference));
    }

    int countOf(const std::string& displayPath)
    {
        const AccountTally* tally =
            FindAccountTally(state.newMailTally, mailbox().accountDirectory(account));
        const FolderTally* folder = tally != nullptr ? tally->findFolder(displayPath) : nullptr;
        return folder != nullptr ? folder->count : -1;
    }

    Win32ProfileStore profile;
    Win32FileSystem files;
    Win32CodePageConverter codePage;
    Platform platform{profile, files, codePage};
    struct : FolderBoldMarker {
        void markFolderBold(const std::string&, const std::string&) override {}
    } noFolderWindow;
    PluginState state;
};

TEST_F(ReceiveInProcessTest, FiledMessagesAreCountedUntilTheirFolderOpens)
{
    for (const char* fixture : {"work.CRV", "cr_line_ends.CRV", "spam.CRV", "no_classifier.CRV",
                                "capital_bucket.CRV", "news.CRV"}) {
        receive(fixture);
    }
    EXPECT_EQ(countOf("Projects\\Alpha"), 2);
    EXPECT_EQ(countOf("ごみ箱"), 1);
    EXPECT_EQ(countOf("News"), 1);
    EXPECT_EQ(countOf("郵便受け"), 2);
    EXPECT_EQ(mailbox().messagesIn(alpha).size(), 2u);

    ClearFolderTally(state.newMailTally, state.boldRefreshPending, state.host, profile,
                     mailbox().accountDirectory(account), alpha);
    EXPECT_EQ(countOf("Projects\\Alpha"), 0);
    EXPECT_TRUE(state.boldRefreshPending);
    ClearFolderTally(state.newMailTally, state.boldRefreshPending, state.host, profile,
                     mailbox().accountDirectory(account), Mailbox::inbox(account));
    EXPECT_EQ(countOf("郵便受け"), 0);
    EXPECT_EQ(countOf("News"), 1);
}

TEST_F(ReceiveInProcessTest, DisplayPathsAndCatalogueMatchTheHostsFolders)
{
    host().openFolder(Mailbox::inbox(account));
    BuildFolderCatalogue(state.folderCatalogue, state.host, profile, host().frame());

    std::vector<std::string> leaves;
    for (const FolderListing& folder : mailbox().folders(account)) {
        EXPECT_EQ(Utf8(FolderDisplayPath(state.host, profile, folder.folderPath)),
                  Utf8(folder.displayPath))
            << folder.folderPath;
        const bool builtIn = folder.folderPath == Mailbox::inbox(account) ||
                             folder.folderPath == Mailbox::outbox(account) ||
                             folder.folderPath == Mailbox::trash(account);
        if (!folder.group && !builtIn) {
            leaves.push_back(folder.displayPath);
        }
    }
    std::vector<std::string> catalogue;
    for (const FolderEntry& entry : state.folderCatalogue.entries) {
        catalogue.push_back(entry.displayPath);
    }
    EXPECT_EQ(catalogue, leaves);
    EXPECT_EQ(catalogue, (std::vector<std::string>{"News", "Projects\\Alpha", "Receipts"}));
}

// A retrieval of a thousand messages files every one of them and leaves no temporary file.
// It also prints the time the plug-in spent inside APCRecFilter beside the whole retrieval,
// as the host measured it (the whole includes the summary's box until it was answered).
TEST_F(ReceiveTest, ThousandMessageRetrievalFilesEveryMessage)
{
    writePluginIni(kPluginIni);
    ASSERT_TRUE(startPlugin());
    std::vector<std::string> messages;
    const char* const fixtures[] = {"spam.CRV", "work.CRV", "news.CRV", "inbox_bucket.CRV",
                                    "no_classifier.CRV", "receipt.CRV", "japanese_subject.CRV",
                                    "boss_before_classification.CRV"};
    for (int index = 0; index < 1000; ++index) {
        messages.push_back(FixtureBytes(fixtures[index % std::size(fixtures)]));
    }
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    DialogWatcher summary("Tarnwickメール振り分け", "OK", 60000);
    QueryPerformanceCounter(&start);
    const std::vector<RetrievedMessage> retrieved = host().retrieve(account, messages);
    QueryPerformanceCounter(&end);
    ASSERT_EQ(retrieved.size(), 1000u);
    ASSERT_TRUE(summary.waitFor(1));
    double filterSeconds = 0;
    double serviceSeconds = 0;
    for (const RetrievedMessage& message : retrieved) {
        filterSeconds += message.filterSeconds;
        serviceSeconds += message.hostServiceSeconds;
    }
    const double totalSeconds =
        static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    const double perMessage = 1e6 / static_cast<double>(retrieved.size());
    std::printf("retrieval of %zu messages: %.3f s in all; inside APCRecFilter %.3f s (%.1f%%),"
                " of which the host's save/import/mark/delete services %.3f s;"
                " the plug-in's own work %.3f s (%.1f%%), %.0f us per message\n",
                retrieved.size(), totalSeconds, filterSeconds, 100.0 * filterSeconds / totalSeconds,
                serviceSeconds, filterSeconds - serviceSeconds,
                100.0 * (filterSeconds - serviceSeconds) / totalSeconds,
                (filterSeconds - serviceSeconds) * perMessage);
    EXPECT_EQ(mailbox().messagesIn(alpha).size(), 375u);
    EXPECT_EQ(mailbox().messagesIn(Mailbox::trash(account)).size(), 125u);
    EXPECT_EQ(mailbox().messagesIn(news).size(), 125u);
    EXPECT_EQ(mailbox().messagesIn(receipts).size(), 125u);
    // Left in the inbox: the personal and the unclassified messages.
    EXPECT_EQ(mailbox().messagesIn(Mailbox::inbox(account)).size(), 250u);
    EXPECT_EQ(host().serverDeletes().size(), 250u);
    EXPECT_TRUE(tempFiles().empty());
}

}  // namespace
