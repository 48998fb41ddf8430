// Correcting a message's bucket through the plug-in's menus in the replacement host, with
// the stand-in classifier as the peer.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "browser_recorder_win.h"
#include "classifier/http_client.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kTitle = "私の口座";

// The labels the plug-in appended to a host menu (MenuLabelTree order).
std::vector<std::string> AddedLabels(const BuiltMenu& menu)
{
    const std::vector<std::string> all = menu.labels();
    const std::size_t before = menu.labelsBeforePlugin().size();
    return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(std::min(before, all.size())),
                                    all.end());
}

class CorrectionTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(classifier.running());
        account = addAccount("acct", kTitle);
        inbox = Mailbox::inbox(account);
        work = mailbox().addFolder(account, "仕事");
    }

    // The plug-in's INI before start-up: a sorting rule for "work" into 仕事 with mark 3,
    // the URL setting (none when url is empty) and SubjectEdit.
    void StartWith(const std::string& url, int subjectEdit = 0)
    {
        std::string ini = "[Setup]\r\nCheckConnect=0\r\nSubjectEdit=" + std::to_string(subjectEdit) +
                          "\r\n";
        if (!url.empty()) {
            ini += "URL=" + url + "\r\n";
        }
        ini += "[MoveMail]\r\nwork=仕事\r\n[Action]\r\nwork=2,0,0\r\n[Mark]\r\nwork=3\r\n";
        writePluginIni(ini);
        ASSERT_TRUE(startPlugin());
        host().openFolder(inbox);
    }

    std::string Link(const std::string& base, int view) const
    {
        return base + "jump_to_message?view=" + std::to_string(view);
    }

    // A message in the inbox, classified spam by the stand-in, made current and selected.
    std::string SelectMail(const std::string& subject = "Subject: hello",
                           const std::string& link = "")
    {
        const std::string mail = mailbox().addMessage(
            inbox, MailText({"From: sender@example.jp", subject, "X-Text-Classification: spam",
                             "X-POPFile-Link: " + (link.empty() ? Link(classifier.baseUrl(), 17) : link)},
                            "body line\r\n"));
        host().setCurrentEntry(mail);
        host().setSelection({mail});
        return mail;
    }

    std::string ExpectedBody(const std::string& bucket, int view) const
    {
        return "search=&sort=-inserted&session=" + classifier.sessionKey() +
               "&negate=&start_message=0&filter=&reclassify_" + std::to_string(view) + "=" +
               bucket + "&change=%BA%C6%CA%AC%CE%E0";
    }

    StandInClassifier classifier;
    std::string account;
    std::string inbox;
    std::string work;
};

TEST_F(CorrectionTest, FolderMenuListsTheBucketsWithTheCurrentOneChecked)
{
    StartWith(classifier.baseUrl());
    SelectMail();
    BuiltMenu menu = host().folderMenu(102);

    const std::vector<std::string> expected = {
        "POPFile訂正[spam]", "POPFile訂正[spam]>spam", "POPFile訂正[spam]>work",
        "POPFile訂正[spam]>personal", "POPFile訂正[spam]>バケツの再取得",
        "POPFileを開く", "振り分けの理由"};
    EXPECT_EQ(AddedLabels(menu), expected);
    const auto submenu = menu.find("POPFile訂正[spam]");
    ASSERT_TRUE(submenu && submenu->submenu);
    const std::vector<MenuEntry> items = MenuItems(submenu->submenu);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_TRUE(items[0].checked);
    EXPECT_FALSE(items[1].checked);
    EXPECT_FALSE(items[2].checked);
    EXPECT_TRUE(items[3].separator);
    for (int i : {0, 1, 2, 4}) {
        EXPECT_NE(items[static_cast<std::size_t>(i)].id, 0u) << i;
    }
}

TEST_F(CorrectionTest, ChoosingABucketPostsTheCorrectionAndRefilesTheMail)
{
    StartWith(classifier.baseUrl());
    const std::string mail = SelectMail();
    BuiltMenu menu = host().folderMenu(102);
    ASSERT_TRUE(host().chooseMenuItem(menu, "work"));

    const auto corrections = classifier.corrections();
    ASSERT_EQ(corrections.size(), 1u);
    EXPECT_EQ(corrections[0].method, "POST");
    EXPECT_EQ(corrections[0].target, "/history");
    EXPECT_EQ(corrections[0].body, ExpectedBody("work", 17));
    EXPECT_EQ(corrections[0].header("User-Agent"), std::optional<std::string>("tarnwick"));
    EXPECT_EQ(corrections[0].header("Content-Type"), std::nullopt);

    EXPECT_FALSE(mailbox().messageExists(mail));
    const std::vector<std::string> filed = mailbox().messagesIn(work);
    ASSERT_EQ(filed.size(), 1u);
    EXPECT_EQ(mailbox().readMessage(filed[0]),
              MailText({"From: sender@example.jp", "Subject: hello", "X-Text-Classification: work",
                        "X-POPFile-Link: " + Link(classifier.baseUrl(), 17)},
                       "body line\r\n"));
    EXPECT_EQ(host().markOf(filed[0]), 3);
    const auto marks = host().callsTo("APAMarkMail");
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].arguments, (std::vector<std::string>{mail, "7", "0"}));
    EXPECT_EQ(marks[1].arguments, (std::vector<std::string>{mail, "3", "1"}));
}

TEST_F(CorrectionTest, BucketWithoutRuleGoesToTheInbox)
{
    StartWith(classifier.baseUrl());
    const std::string mail = SelectMail();
    BuiltMenu menu = host().folderMenu(102);
    ASSERT_TRUE(host().chooseMenuItem(menu, "personal"));

    const auto moves = host().callsTo("APAMoveMail");
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].arguments, (std::vector<std::string>{mail, std::string(kTitle) + "\\郵便受け"}));
    const std::vector<std::string> inInbox = mailbox().messagesIn(inbox);
    ASSERT_EQ(inInbox.size(), 1u);
    EXPECT_NE(mailbox().readMessage(inInbox[0])->find("X-Text-Classification: personal\r\n"),
              std::string::npos);
    EXPECT_EQ(host().markOf(inInbox[0]), 0);
}

TEST_F(CorrectionTest, EditedSubjectIsCopiedIntoTheFolder)
{
    StartWith(classifier.baseUrl(), 1);
    const std::string mail = SelectMail("Subject: [unclassified] Hello");
    BuiltMenu menu = host().folderMenu(102);
    ASSERT_TRUE(host().chooseMenuItem(menu, "work"));

    EXPECT_TRUE(host().callsTo("APAMoveMail").empty());
    EXPECT_FALSE(mailbox().messageExists(mail));
    const std::vector<std::string> filed = mailbox().messagesIn(work);
    ASSERT_EQ(filed.size(), 1u);
    const std::string text = mailbox().readMessage(filed[0]).value_or("");
    EXPECT_NE(text.find("Subject: Hello\r\n"), std::string::npos) << Utf8(text);
    EXPECT_NE(text.find("X-Text-Classification: work\r\n"), std::string::npos) << Utf8(text);
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(CorrectionTest, BucketListIsFetchedOnceAndAgainOnRequest)
{
    StartWith(classifier.baseUrl());
    SelectMail();
    host().folderMenu(102);
    classifier.setBuckets({"spam", "family"});
    BuiltMenu second = host().folderMenu(102);
    EXPECT_EQ(classifier.requestsTo("/buckets").size(), 1u);
    EXPECT_FALSE(second.find("family"));

    ASSERT_TRUE(host().chooseMenuItem(second, "バケツの再取得"));
    EXPECT_EQ(classifier.requestsTo("/buckets").size(), 2u);
    BuiltMenu third = host().folderMenu(102);
    EXPECT_TRUE(third.find("family"));
    EXPECT_FALSE(third.find("work"));
}

TEST_F(CorrectionTest, ExpiredSessionRecordsNothingButTheMailIsStillCorrected)
{
    StartWith(classifier.baseUrl());
    const std::string stale = "<a href=\"/history?session=0000expired0000\">History</a>";
    classifier.setPage("/", stale);
    const std::string mail = SelectMail();
    BuiltMenu menu = host().folderMenu(102);
    ASSERT_TRUE(host().chooseMenuItem(menu, "work"));

    // The Session Expired page gets a fresh key and one more post; both keys were stale.
    EXPECT_EQ(classifier.requestsTo("/history").size(), 2u);
    EXPECT_TRUE(classifier.corrections().empty());
    EXPECT_EQ(mailbox().messagesIn(work).size(), 1u);
}

// A correction POPFile refused leaves its notice in the INI file; the next bucket fetch
// delivers it with the key the bucket page shows, and the entry is gone.
TEST_F(CorrectionTest, RefusedNoticeIsKeptUntilTheNextBucketFetchDeliversIt)
{
    StartWith(classifier.baseUrl());
    classifier.setPage("/", "<a href=\"/history?session=0000expired0000\">History</a>");
    SelectMail();
    BuiltMenu menu = host().folderMenu(102);
    ASSERT_TRUE(host().chooseMenuItem(menu, "work"));
    EXPECT_TRUE(classifier.corrections().empty());
    EXPECT_EQ(readPluginIni("PendingCorrection", "1"), "17,work");
    EXPECT_FALSE(readPluginIni("PendingCorrectionDate", "1").empty());

    ASSERT_TRUE(host().chooseMenuItem(menu, "バケツの再取得"));
    const auto corrections = classifier.corrections();
    ASSERT_EQ(corrections.size(), 1u);
    EXPECT_EQ(corrections[0].body, ExpectedBody("work", 17));
    EXPECT_EQ(readPluginIni("PendingCorrection", "1"), "");
    EXPECT_EQ(pluginIniBytes().value_or("").find("PendingCorrection"), std::string::npos);
}

TEST_F(CorrectionTest, LinkWithoutViewTellsTheClassifierNothing)
{
    StartWith(classifier.baseUrl());
    SelectMail("Subject: hello", classifier.baseUrl() + "jump_to_message?id=17");
    BuiltMenu menu = host().folderMenu(102);
    ASSERT_TRUE(host().chooseMenuItem(menu, "work"));
    EXPECT_TRUE(classifier.requestsTo("/history").empty());
    EXPECT_EQ(mailbox().messagesIn(work).size(), 1u);
}

TEST_F(CorrectionTest, UrlIsLearnedFromTheFirstLinkAndWrittenOnce)
{
    StartWith("");
    SelectMail();
    BuiltMenu menu = host().folderMenu(102);
    EXPECT_EQ(readPluginIni("Setup", "URL"), classifier.baseUrl());
    EXPECT_TRUE(menu.find("work")) << "the learned address serves the bucket list at once";

    SelectMail("Subject: second", Link("http://127.0.0.1:1/", 5));
    host().folderMenu(102);
    EXPECT_EQ(readPluginIni("Setup", "URL"), classifier.baseUrl());
}

TEST_F(CorrectionTest, UsersUrlIsNeverReplaced)
{
    StartWith(classifier.baseUrl());
    SelectMail("Subject: hello", Link("http://127.0.0.1:1/", 5));
    host().folderMenu(102);
    EXPECT_EQ(readPluginIni("Setup", "URL"), classifier.baseUrl());
}

TEST_F(CorrectionTest, ForgedLinkIsNotLearnedIntoAnEmptyUrl)
{
    StartWith("");
    SelectMail("Subject: hello", "file:///C:/windows/jump?view=5");
    BuiltMenu menu = host().folderMenu(102);
    EXPECT_EQ(readPluginIni("Setup", "URL"), "");
    EXPECT_TRUE(menu.find("POPFileの情報が取得できません"));
}

TEST_F(CorrectionTest, UnreachableClassifierGivesTheNoInformationItem)
{
    StartWith("http://127.0.0.1:1/");
    SelectMail();
    BuiltMenu menu = host().folderMenu(102);
    const auto item = menu.find("POPFileの情報が取得できません");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->id, 0u);
}

TEST_F(CorrectionTest, UnclassifiedMailGetsOnlyTheOpenItemAndTheExplanation)
{
    StartWith(classifier.baseUrl());
    const std::string mail = mailbox().addMessage(inbox, MailText({"Subject: plain"}, "x\r\n"));
    host().setCurrentEntry(mail);
    host().setSelection({mail});
    BuiltMenu menu = host().folderMenu(102);
    EXPECT_EQ(AddedLabels(menu), (std::vector<std::string>{"POPFileを開く", "振り分けの理由"}));
}

TEST_F(CorrectionTest, SeveralSelectedMailsGetACountedSubmenuWithNothingChecked)
{
    StartWith(classifier.baseUrl());
    const std::string first = SelectMail();
    const std::string second = SelectMail("Subject: other");
    host().setSelection({first, second});
    BuiltMenu menu = host().folderMenu(102);
    const auto submenu = menu.find("POPFile訂正(選択数 2)");
    ASSERT_TRUE(submenu && submenu->submenu);
    const std::vector<MenuEntry> items = MenuItems(submenu->submenu);
    ASSERT_EQ(items.size(), 5u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(items[static_cast<std::size_t>(i)].checked) << i;
    }
}

TEST_F(CorrectionTest, ViewMenuCorrectsTheShownMail)
{
    StartWith(classifier.baseUrl());
    const std::string mail = SelectMail();
    host().setCurrentEntry("");
    HWND view = host().openView(mail);
    BuiltMenu menu = host().viewMenu(view, 202);
    EXPECT_EQ(menu.initResult(), 1);
    ASSERT_TRUE(menu.find("POPFile訂正[spam]"));
    ASSERT_TRUE(host().chooseMenuItem(menu, "work"));
    ASSERT_EQ(classifier.corrections().size(), 1u);
    EXPECT_EQ(classifier.corrections()[0].body, ExpectedBody("work", 17));
    EXPECT_EQ(mailbox().messagesIn(work).size(), 1u);
}

TEST_F(CorrectionTest, ViewMenuBarGetsTheItemsInItsFourthSubmenu)
{
    StartWith(classifier.baseUrl());
    const std::string mail = SelectMail();
    HWND view = host().openView(mail);
    BuiltMenu menu = host().viewMenu(view, 201);
    EXPECT_EQ(menu.initResult(), 1);
    const std::vector<MenuEntry> bar = MenuItems(menu.handle());
    ASSERT_GE(bar.size(), 4u);
    const std::vector<MenuEntry> fourth = MenuItems(bar[3].submenu);
    ASSERT_GE(fourth.size(), 3u);
    EXPECT_EQ(fourth[fourth.size() - 3].label, "POPFile訂正[spam]");
    EXPECT_EQ(fourth[fourth.size() - 2].label, "POPFileを開く");
    EXPECT_EQ(fourth.back().label, "振り分けの理由");
}

// ---- Hostile or broken classifier pages ------------------------------------------------

TEST_F(CorrectionTest, TenThousandBucketsAreListedAndTheLastCanBeChosen)
{
    std::vector<std::string> buckets;
    for (int i = 0; i < 10000; ++i) {
        buckets.push_back("b" + std::to_string(i));
    }
    classifier.setBuckets(buckets);
    StartWith(classifier.baseUrl());
    SelectMail();
    BuiltMenu menu = host().folderMenu(102);
    const auto submenu = menu.find("POPFile訂正[spam]");
    ASSERT_TRUE(submenu && submenu->submenu);
    EXPECT_EQ(GetMenuItemCount(submenu->submenu), 10002);
    ASSERT_TRUE(host().chooseMenuItem(menu, "b9999"));
    ASSERT_EQ(classifier.corrections().size(), 1u);
    EXPECT_EQ(classifier.corrections()[0].body, ExpectedBody("b9999", 17));
}

TEST_F(CorrectionTest, TenMegabyteBucketPageIsReadAsFarAsTheLimit)
{
    classifier.setPage("/buckets", classifier.generatedBucketPage() +
                                       std::string(10 * 1024 * 1024, ' '));
    StartWith(classifier.baseUrl());
    SelectMail();
    const auto started = std::chrono::steady_clock::now();
    BuiltMenu menu = host().folderMenu(102);
    const auto waited = std::chrono::steady_clock::now() - started;
    // Read within the deadline, the buckets at the page's front are offered. On a machine
    // too slow to read 4 MB in time (emulated and loaded), the request is given up as for an
    // unreachable classifier; either way the menu is built.
    if (waited < std::chrono::milliseconds(kRequestDeadlineMs)) {
        EXPECT_TRUE(menu.find("personal"));
    } else {
        EXPECT_TRUE(menu.find("POPFileの情報が取得できません"));
    }
}

TEST_F(CorrectionTest, BrokenBucketPagesGiveTheNoInformationItem)
{
    const std::string key = classifier.sessionKey();
    const std::vector<std::string> pages = {
        // A NUL byte ends the text of its 1024-byte chunk, and the session link with it.
        std::string("<html>") + '\0' + classifier.generatedBucketPage(),
        "<a href=\"/history?session=" + key + " showbucket=spam showbucket=work",
        "<html><body>no markers at all</body></html>",
    };
    StartWith(classifier.baseUrl());
    SelectMail();
    for (const std::string& page : pages) {
        classifier.setPage("/buckets", page);
        BuiltMenu menu = host().folderMenu(102);
        EXPECT_TRUE(menu.find("POPFileの情報が取得できません")) << Utf8(page.substr(0, 60));
        EXPECT_FALSE(menu.find("spam"));
    }
}

TEST_F(CorrectionTest, BucketNamesWithLineBreaksAreNotOffered)
{
    classifier.setBuckets({"spam", "evil\r\nX-Injected: 1", "work"});
    StartWith(classifier.baseUrl());
    SelectMail();
    BuiltMenu menu = host().folderMenu(102);
    const auto submenu = menu.find("POPFile訂正[spam]");
    ASSERT_TRUE(submenu && submenu->submenu);
    const std::vector<MenuEntry> items = MenuItems(submenu->submenu);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].label, "spam");
    EXPECT_EQ(items[1].label, "work");
}

TEST_F(CorrectionTest, HugeViewNumberTellsTheClassifierNothing)
{
    StartWith(classifier.baseUrl());
    SelectMail("Subject: hello", classifier.baseUrl() + "jump_to_message?view=" + std::string(40, '9'));
    BuiltMenu menu = host().folderMenu(102);
    ASSERT_TRUE(host().chooseMenuItem(menu, "work"));
    EXPECT_TRUE(classifier.requestsTo("/history").empty());
    EXPECT_EQ(mailbox().messagesIn(work).size(), 1u);
}

// ---- Opening the classifier's page ------------------------------------------------------

TEST_F(CorrectionTest, OpenItemOpensTheMailsLink)
{
    BrowserRecorder browser;
    StartWith(classifier.baseUrl());
    SelectMail();
    BuiltMenu menu = host().folderMenu(102);
    ASSERT_TRUE(host().chooseMenuItem(menu, "POPFileを開く"));
    const std::string marker = "127.0.0.1:" + std::to_string(classifier.port());
    EXPECT_EQ(browser.opened(marker), (std::vector<std::string>{Link(classifier.baseUrl(), 17)}));
}

TEST_F(CorrectionTest, OpenItemOpensTheUrlInsteadOfALinkThatIsNoWebAddress)
{
    BrowserRecorder browser;
    StartWith(classifier.baseUrl());
    const std::string marker = "127.0.0.1:" + std::to_string(classifier.port());
    SelectMail("Subject: hello", "ftp://" + marker + "/forged/jump?view=5");
    HWND view = host().openView(mailbox().messagesIn(inbox).front());
    BuiltMenu menu = host().viewMenu(view, 202);
    ASSERT_TRUE(host().chooseMenuItem(menu, "POPFileを開く"));
    EXPECT_EQ(browser.opened(marker), (std::vector<std::string>{classifier.baseUrl()}));
}

}  // namespace

namespace {

// A sender's forged link stands before the classifier's own and points elsewhere through a
// local-looking start: it is passed over for the URL, the correction and the browser.
TEST_F(CorrectionTest, ForgedLinkBeforeTheClassifiersOwnDecidesNothing)
{
    StandInClassifier decoy;
    ASSERT_TRUE(decoy.running());
    BrowserRecorder browser;
    StartWith("");
    const std::string forged = "http://127.0.0.1:" + std::to_string(decoy.port()) +
                               "@evil.example/jump_to_message?view=666";
    const std::string mail = mailbox().addMessage(
        inbox, MailText({"From: sender@example.jp", "X-POPFile-Link: " + forged, "Subject: hello",
                         "X-Text-Classification: spam",
                         "X-POPFile-Link: " + Link(classifier.baseUrl(), 17)},
                        "body line\r\n"));
    host().setCurrentEntry(mail);
    host().setSelection({mail});

    BuiltMenu menu = host().folderMenu(102);
    EXPECT_EQ(readPluginIni("Setup", "URL"), classifier.baseUrl());
    ASSERT_TRUE(host().chooseMenuItem(menu, "POPFileを開く"));
    const std::string marker = "127.0.0.1:" + std::to_string(classifier.port());
    EXPECT_EQ(browser.opened(marker), (std::vector<std::string>{Link(classifier.baseUrl(), 17)}));

    ASSERT_TRUE(host().chooseMenuItem(host().folderMenu(102), "work"));
    const auto corrections = classifier.corrections();
    ASSERT_EQ(corrections.size(), 1u);
    EXPECT_EQ(corrections[0].body, ExpectedBody("work", 17));
    EXPECT_TRUE(decoy.requests().empty());
    EXPECT_TRUE(browser.opened("evil.example", 0s).empty());
}

}  // namespace

namespace {

// The real file operations refusing: the message file is held open by another program that
// lets others read it but not replace it. The rewrite cannot take its place, so the message
// stays exactly as it was and the rewritten copy beside it is removed again.
TEST_F(CorrectionTest, MessageHeldOpenElsewhereStaysWholeAndNoRewriteIsLeftBeside)
{
    StartWith(classifier.baseUrl());
    const std::string mail = SelectMail();
    const std::string path = mailbox().messagePath(mail);
    const std::optional<std::string> before = mailbox().readMessage(mail);
    BuiltMenu menu = host().folderMenu(102);
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(host().chooseMenuItem(menu, "work"));
    CloseHandle(holder);

    EXPECT_EQ(mailbox().readMessage(mail), before) << "neither replaced nor cut short";
    const std::string rewrite = path.substr(0, path.size() - 3) + "TMP";
    EXPECT_EQ(GetFileAttributesA(rewrite.c_str()), INVALID_FILE_ATTRIBUTES) << rewrite;
    EXPECT_TRUE(tempFiles().empty());
}

}  // namespace
