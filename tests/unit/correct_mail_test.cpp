#include "plugin/correct_mail.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "classifier/classifier_session.h"
#include "config/settings_store.h"
#include "mail/classification_rewriter.h"
#include "plugin/correction_menu.h"
#include "doubles/classifier_doubles.h"
#include "doubles/menu_writer_fake.h"
#include "doubles/selected_mail_correction_fake.h"
#include "doubles/code_page_converter_fake.h"
#include "doubles/file_system_fake.h"
#include "doubles/host_services_fake.h"
#include "doubles/http_client_fake.h"
#include "doubles/profile_store_fake.h"

namespace {

constexpr const char* kUrl = "http://127.0.0.1:8080/";
constexpr const char* kStartPageKey = "7f3c9a01be5d42e8a6c4d2f09b1e8a73";
constexpr const char* kBucketPageKey = "c41d8e7a2b9f40a1b3e5d6c7f8091a2b";

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The stored mail files live in a private directory that plays the mailbox root. The host
// separates folders with backslashes; on this file system they are plain name bytes, so
// "Account1\inbox.box\00017.CRV" is one file directly in the root.
class CorrectMailTest : public ::testing::Test, protected ClassifierDoubles {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tarnwick-reclassify-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        mailbox = directory_ + "/";
        mailPath = mailbox + "Account1\\inbox.box\\00017.CRV";
        tempPath = mailbox + "Account1\\inbox.box\\00017.TMP";
        reference = "Account1\\inbox.box\\00017";

        host.mailbox = mailbox;
        state.host = host.api;
        state.settings.URL = kUrl;
        profile.loadText(mailbox + "Account1\\account.ini", "[Property]\nTitle=アカウント1\n");
        state.sortRules = {Rule("work", "仕事", 3), Rule("spam", "ごみ箱", 0)};
        state.reclassify.session.buckets = {"spam", "work", "personal"};
        http.serve(kUrl, ReadDiskFile(TestDataPath("classifier/start_page.html")));
        http.serve(std::string(kUrl) + "buckets",
                   ReadDiskFile(TestDataPath("classifier/buckets_page.html")));
        http.serve(std::string(kUrl) + "history", "<html>history</html>");
    }

    void TearDown() override { std::filesystem::remove_all(directory_); }

    static SortRule Rule(const std::string& bucket, const std::string& folder, int mark)
    {
        SortRule rule;
        rule.bucket = bucket;
        rule.folder = folder;
        rule.mark = mark;
        return rule;
    }

    void StoreMail(const std::string& bytes) { WriteBytes(mailPath, bytes); }
    std::string StoredMail() const { return ReadDiskFile(mailPath); }
    bool TempFileLeft() const { return std::filesystem::exists(tempPath); }
    // Rewrites the stored mail's classification header as a correction does.
    bool Rewrite(const std::string& bucket)
    {
        return RewriteClassificationHeader(files, mailPath, bucket, state.settings.SubjectEdit != 0);
    }
    // Fills the correction submenu of a view window showing the stored mail, as the host asks
    // for it before the user picks a bucket.
    void OpenMenuOfTheViewedMail()
    {
        host.viewPath = mailPath;
        MenuWriterFake menu;
        FillCorrectionMenu(context, {nullptr, nullptr, nullptr, nullptr}, nullptr, menu, kCorrectViewedMail);
        host.calls.clear();
    }
    int BucketIndex(const std::string& name) const
    {
        const auto& buckets = state.reclassify.session.buckets;
        return static_cast<int>(std::find(buckets.begin(), buckets.end(), name) - buckets.begin());
    }
    std::vector<HttpClientFake::Request> Posts() const
    {
        std::vector<HttpClientFake::Request> posts;
        for (const auto& request : http.requests()) {
            if (request.method == "POST") {
                posts.push_back(request);
            }
        }
        return posts;
    }


    std::string mailbox;
    std::string mailPath;
    std::string tempPath;
    std::string reference;

private:
    std::string directory_;
};

using Args = std::vector<std::string>;

// ---- Bucket list and session key ----------------------------------------------------

TEST_F(CorrectMailTest, BucketListIsFetchedOnceAndAgainOnlyOnRequest)
{
    state.reclassify.session.buckets.clear();
    EXPECT_EQ(GetBucketList(classifier), (std::vector<std::string>{"spam", "work", "personal"}));
    EXPECT_EQ(state.reclassify.session.sessionKey, kBucketPageKey);
    GetBucketList(classifier);
    EXPECT_EQ(http.requestsTo(std::string(kUrl) + "buckets").size(), 1u);

    http.serve(std::string(kUrl) + "buckets",
               "<a href=\"/history?session=fresh\"> <a href=\"?showbucket=only\">");
    RefetchBucketsCommand(context);
    EXPECT_EQ(http.requestsTo(std::string(kUrl) + "buckets").size(), 2u);
    EXPECT_EQ(state.reclassify.session.buckets, (std::vector<std::string>{"only"}));
    EXPECT_EQ(state.reclassify.session.sessionKey, "fresh");
}

TEST_F(CorrectMailTest, NoUrlMeansNoRequestAndNoBuckets)
{
    state.settings.URL.clear();
    state.reclassify.session.buckets.clear();
    state.reclassify.session.sessionKey = "old";
    EXPECT_TRUE(GetBucketList(classifier).empty());
    EXPECT_EQ(FetchSessionKey(classifier, ""), "");
    EXPECT_TRUE(http.requests().empty());
}

TEST_F(CorrectMailTest, UnusableBucketPagesGiveAnEmptyList)
{
    const std::string bucketPage = std::string(kUrl) + "buckets";
    const std::vector<std::string> pages = {
        "",                                                        // nothing came back
        "<a href=\"?showbucket=spam\">no session link</a>",         // no session marker
        "<a href=\"/history?session=k showbucket=spam",            // no quote anywhere
        std::string("<a href=\"/history?session=k\0\">?showbucket=spam\"", 46),  // NUL cut
    };
    for (const std::string& page : pages) {
        state.reclassify.session.buckets.clear();
        http.serve(bucketPage, page);
        EXPECT_TRUE(GetBucketList(classifier).empty()) << page;
    }
    http.unserve(bucketPage);
    state.reclassify.session.buckets.clear();
    EXPECT_TRUE(GetBucketList(classifier).empty());
}

TEST_F(CorrectMailTest, TenMegabytePageIsSearchedToItsEnd)
{
    state.reclassify.session.buckets.clear();
    std::string page(10 * 1024 * 1024, 'x');
    page += "<a href=\"/history?session=deep\"><a href=\"?showbucket=last\">";
    http.serve(std::string(kUrl) + "buckets", page);
    EXPECT_EQ(GetBucketList(classifier), (std::vector<std::string>{"last"}));
    EXPECT_EQ(state.reclassify.session.sessionKey, "deep");
}

TEST_F(CorrectMailTest, SessionKeyIsEmptiedBeforeEachFetch)
{
    state.reclassify.session.sessionKey = "stale";
    EXPECT_EQ(FetchSessionKey(classifier, kUrl), kStartPageKey);
    http.serve(kUrl, "<html>session expired</html>");
    EXPECT_EQ(FetchSessionKey(classifier, kUrl), "");
    http.unserve(kUrl);
    state.reclassify.session.sessionKey = "stale";
    EXPECT_EQ(FetchSessionKey(classifier, kUrl), "");
}

// ---- Learning the classifier's address ------------------------------------------------

TEST_F(CorrectMailTest, FirstLinkSetsAnEmptyUrlAndWritesItOnce)
{
    state.settings.URL.clear();
    EXPECT_EQ(LearnClassifierAddress(classifier, "http://127.0.0.1:9090/jump_to_message?view=5"),
              std::optional<std::string>("http://127.0.0.1:9090/"));
    EXPECT_EQ(state.settings.URL, "http://127.0.0.1:9090/");
    const std::string ini = profile.text(pluginIniPath(files));
    EXPECT_NE(ini.find("URL=http://127.0.0.1:9090/"), std::string::npos) << ini;

    profile.clearCalls();
    EXPECT_TRUE(LearnClassifierAddress(classifier, "http://127.0.0.1:7070/jump_to_message?view=6"));
    EXPECT_EQ(state.settings.URL, "http://127.0.0.1:9090/");
    EXPECT_TRUE(profile.calls().empty());
}

TEST_F(CorrectMailTest, UserUrlIsNeverReplaced)
{
    state.settings.URL = "http://localhost:8081/";
    LearnClassifierAddress(classifier, "http://127.0.0.1:9090/jump_to_message?view=5");
    EXPECT_EQ(state.settings.URL, "http://localhost:8081/");
    EXPECT_TRUE(profile.calls().empty());
}

TEST_F(CorrectMailTest, OnlyHttpAddressesAreLearned)
{
    state.settings.URL.clear();
    for (const char* link : {"https://evil.example/jump?view=1", "file:///c:/jump?view=1",
                             "HTTP://127.0.0.1:8080/jump?view=1", "\\\\server\\share\\jump",
                             "http://127.0.0.1:8080/no-marker?view=1"}) {
        EXPECT_FALSE(LearnClassifierAddress(classifier, link)) << link;
    }
    EXPECT_EQ(state.settings.URL, "");
    EXPECT_TRUE(profile.calls().empty());
}

TEST_F(CorrectMailTest, ForeignLinksAreNeitherLearnedNorUsed)
{
    state.settings.URL.clear();
    for (const char* link : {"http://evil.example:8080/jump_to_message?view=5",
                             "http://127.0.0.1@evil.example/jump_to_message?view=5",
                             "http://localhost.evil.com/jump_to_message?view=5"}) {
        EXPECT_FALSE(LearnClassifierAddress(classifier, link)) << link;
        StoreMail(std::string("X-Text-Classification: spam\nX-POPFile-Link: ") + link + "\n\nb\n");
        EXPECT_EQ(ReadMessageNumber(classifier, mailPath), -1) << link;
    }
    EXPECT_EQ(state.settings.URL, "");
    EXPECT_TRUE(profile.calls().empty());
    EXPECT_TRUE(http.requests().empty());
}

TEST_F(CorrectMailTest, ForgedLinkBeforeTheClassifiersOwnIsPassedOver)
{
    state.settings.URL.clear();
    StoreMail("X-POPFile-Link: http://evil.example/jump_to_message?view=666\n"
              "X-Text-Classification: spam\n"
              "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=17\n\nbody\n");
    CorrectMail(context, mailPath, "work");
    EXPECT_EQ(state.settings.URL, kUrl);
    const auto posts = Posts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_NE(posts[0].body.find("&reclassify_17=work&"), std::string::npos) << posts[0].body;
    for (const auto& request : http.requests()) {
        EXPECT_EQ(request.url.rfind(kUrl, 0), 0u) << request.url;
    }
}

// ---- Telling the classifier ----------------------------------------------------------------

TEST_F(CorrectMailTest, CorrectionPostsTheExactFormToHistory)
{
    StoreMail("From: a@example.jp\n"
              "X-Text-Classification: spam\n"
              "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=17\n"
              "\n"
              "body\n");
    CorrectMail(context, mailPath, "work");

    const auto posts = Posts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].url, "http://127.0.0.1:8080/history");
    EXPECT_EQ(posts[0].body,
              "search=&sort=-inserted&session=7f3c9a01be5d42e8a6c4d2f09b1e8a73&negate="
              "&start_message=0&filter=&reclassify_17=work&change=%BA%C6%CA%AC%CE%E0");
    // The session key comes from a fresh fetch of the start page just before.
    ASSERT_GE(http.requests().size(), 2u);
    EXPECT_EQ(http.requests()[http.requests().size() - 2].url, kUrl);
}

TEST_F(CorrectMailTest, NoKeyOrNoNumberSkipsTheNoticeButNotTheLocalCorrection)
{
    const std::string withNumber = "X-Text-Classification: spam\n"
                                   "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=17\n"
                                   "\nbody\n";
    http.serve(kUrl, "<html>no session here</html>");
    StoreMail(withNumber);
    CorrectMail(context, mailPath, "work");
    EXPECT_TRUE(Posts().empty());
    EXPECT_NE(StoredMail().find("X-Text-Classification: work\r\n"), std::string::npos);
    EXPECT_EQ(host.callsTo("APAMoveMail").size(), 1u);

    http.serve(kUrl, ReadDiskFile(TestDataPath("classifier/start_page.html")));
    for (const char* link : {"http://127.0.0.1:8080/jump_to_message?id=17",
                             "http://127.0.0.1:8080/jump_to_message?view=0",
                             "http://127.0.0.1:8080/jump_to_message?view=99999999999"}) {
        StoreMail(std::string("X-Text-Classification: spam\nX-POPFile-Link: ") + link +
                  "\n\nbody\n");
        CorrectMail(context, mailPath, "work");
        EXPECT_TRUE(Posts().empty()) << link;
    }
    EXPECT_EQ(host.callsTo("APAMoveMail").size(), 4u);
}

TEST_F(CorrectMailTest, MessageNumberOfAMailWithoutLinkIsMinusOne)
{
    StoreMail("X-Text-Classification: spam\n\nbody\n");
    EXPECT_EQ(ReadMessageNumber(classifier, mailPath), -1);
    StoreMail("X-POPFile-Link: http://127.0.0.1:8080/jump_to_message\nX: y\n\nbody\n");
    EXPECT_EQ(ReadMessageNumber(classifier, mailPath), -1);
}

TEST_F(CorrectMailTest, IndexOutsideTheListDoesNothing)
{
    StoreMail("X-Text-Classification: spam\n"
              "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=17\n\nbody\n");
    OpenMenuOfTheViewedMail();
    ReclassifyCommand(context, nullptr, 3);
    ReclassifyCommand(context, nullptr, -1);
    state.reclassify.session.buckets.clear();
    ReclassifyCommand(context, nullptr, 0);
    EXPECT_TRUE(http.requests().empty());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(StoredMail(), "X-Text-Classification: spam\n"
                            "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=17\n\nbody\n");
}

TEST_F(CorrectMailTest, CommandCorrectsTheMailOfTheLastSubmenu)
{
    StoreMail("X-Text-Classification: spam\n\nbody\n");
    OpenMenuOfTheViewedMail();
    host.viewPath.clear();  // the window has moved on to no message since
    ReclassifyCommand(context, nullptr, BucketIndex("personal"));
    EXPECT_EQ(StoredMail(), "X-Text-Classification: personal\r\n\r\nbody\r\n");
}

// Several selected messages corrected in a row share one session key: it is fetched again
// only when an answer shows none, and an answer that is the Session Expired page gets a
// fresh key and the notice posted once more.
TEST_F(CorrectMailTest, SeveralSelectedMessagesShareOneSessionKey)
{
    SelectedMailCorrectionFake selection;
    for (int number : {17, 18, 19}) {
        const std::string path = mailbox + "Account1\\inbox.box\\000" + std::to_string(number) + ".CRV";
        WriteBytes(path, "X-Text-Classification: spam\nX-POPFile-Link: "
                         "http://127.0.0.1:8080/jump_to_message?view=" + std::to_string(number) +
                             "\n\nbody\n");
        selection.paths.push_back(path);
    }
    context.selectedMails = &selection;
    host.currentEntry = reference;
    MenuWriterFake menu;
    FillCorrectionMenu(context, {nullptr, nullptr, nullptr, nullptr}, nullptr, menu, kCorrectSeveralInFolder);
    const auto startPageFetches = [this] { return http.requestsTo(kUrl).size(); };

    http.serve(std::string(kUrl) + "history", "<a href=\"/history?session=fromtheanswer\">");
    ReclassifyCommand(context, nullptr, BucketIndex("work"));
    ASSERT_EQ(Posts().size(), 3u);
    EXPECT_EQ(startPageFetches(), 1u);
    EXPECT_NE(Posts()[2].body.find("session=fromtheanswer&"), std::string::npos) << Posts()[2].body;
    EXPECT_NE(Posts()[2].body.find("&reclassify_19=work&"), std::string::npos) << Posts()[2].body;

    http.serve(std::string(kUrl) + "history", "<html>no key in this answer</html>");
    ReclassifyCommand(context, nullptr, BucketIndex("personal"));
    EXPECT_EQ(Posts().size(), 6u);
    EXPECT_EQ(startPageFetches(), 4u) << "a key before every notice";

    http.serve(std::string(kUrl) + "history", "<h2 class=\"session\">Session Expired</h2>");
    ReclassifyCommand(context, nullptr, BucketIndex("work"));
    EXPECT_EQ(Posts().size(), 12u) << "every notice posted once more with a fresh key";
}

// A notice POPFile did not take is kept in the INI file and sent at the next bucket fetch,
// then gone; one given up on after it was sent is not kept (POPFile may have acted on it).
TEST_F(CorrectMailTest, UndeliveredNoticeIsKeptUntilTheNextContactDeliversIt)
{
    const auto storedPending = [this] {
        return profile.value(pluginIniPath(files), "PendingCorrection", "1");
    };
    StoreMail("X-Text-Classification: spam\n"
              "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=17\n\nbody\n");
    http.serve(std::string(kUrl) + "history", "<h2 class=\"password\">Password</h2>");
    CorrectMail(context, mailPath, "work");
    EXPECT_NE(StoredMail().find("X-Text-Classification: work\r\n"), std::string::npos)
        << "the local correction happens all the same";
    EXPECT_EQ(storedPending(), "17,work");

    http.serve(std::string(kUrl) + "history", "<html>history</html>");
    http.unserve(kUrl);  // the start page is down: the bucket page's own key serves the notice
    state.reclassify.session.buckets.clear();
    GetBucketList(classifier);
    ASSERT_FALSE(Posts().empty());
    EXPECT_NE(Posts().back().body.find("session=" + std::string(kBucketPageKey) +
                                       "&negate=&start_message=0&filter=&reclassify_17=work&"),
              std::string::npos)
        << Posts().back().body;
    EXPECT_EQ(storedPending(), std::nullopt);

    http.hang(std::string(kUrl) + "history");
    http.serve(kUrl, ReadDiskFile(TestDataPath("classifier/start_page.html")));
    CorrectMail(context, mailPath, "personal");
    EXPECT_EQ(storedPending(), std::nullopt);
}

// ---- Rewriting the message file ----------------------------------------------------------

TEST_F(CorrectMailTest, RewriteWritesCrLfAndKeepsEveryOtherByte)
{
    // "ソ" is 83 5C: its second byte is a backslash and must come through untouched.
    StoreMail("From: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= <a@example.jp>\n"
              "X-Text-Classification: spam\n"
              "Subject: \x83\x5c\x83\x74\x83\x67\n"
              "\n"
              "body \x83\x5c line\r\n"
              "lone cr\rlast line without end");
    EXPECT_FALSE(Rewrite("work"));
    EXPECT_EQ(StoredMail(), "From: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= <a@example.jp>\r\n"
                            "X-Text-Classification: work\r\n"
                            "Subject: \x83\x5c\x83\x74\x83\x67\r\n"
                            "\r\n"
                            "body \x83\x5c line\r\n"
                            "lone cr\r\nlast line without end");
    EXPECT_FALSE(TempFileLeft());
}

TEST_F(CorrectMailTest, RewriteMarksWithTheNewBucketsRule)
{
    StoreMail("X-Text-Classification: spam\n\nbody\n");
    CorrectMail(context, mailPath, "work");
    const auto marks = host.callsTo("APAMarkMail");
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].arguments, (Args{reference, "7", "0"}));
    EXPECT_EQ(marks[1].arguments, (Args{reference, "3", "1"}));

    host.calls.clear();
    CorrectMail(context, mailPath, "spam");  // its rule has no mark
    EXPECT_EQ(host.callsTo("APAMarkMail").size(), 1u);
}

TEST_F(CorrectMailTest, SubjectBeforeTheHeaderLosesUnclassifiedWithSubjectEdit)
{
    state.settings.SubjectEdit = 1;
    StoreMail("Subject: \t[unclassified]  \tHello\n"
              "X-Text-Classification: unclassified\n"
              "\n"
              "Subject: [unclassified] in the body stays\n");
    EXPECT_TRUE(Rewrite("work"));
    EXPECT_EQ(StoredMail(), "Subject: \tHello\r\n"
                            "X-Text-Classification: work\r\n"
                            "\r\n"
                            "Subject: [unclassified] in the body stays\r\n");
}

TEST_F(CorrectMailTest, SubjectAfterTheHeaderOrWithoutSubjectEditIsKept)
{
    state.settings.SubjectEdit = 1;
    StoreMail("X-Text-Classification: unclassified\nSubject: [unclassified] Hello\n\nb\n");
    EXPECT_FALSE(Rewrite("work"));
    EXPECT_EQ(StoredMail(), "X-Text-Classification: work\r\nSubject: [unclassified] Hello\r\n\r\nb\r\n");

    state.settings.SubjectEdit = 0;
    StoreMail("Subject: [unclassified] Hello\nX-Text-Classification: unclassified\n\nb\n");
    EXPECT_FALSE(Rewrite("work"));
    EXPECT_EQ(StoredMail(), "Subject: [unclassified] Hello\r\nX-Text-Classification: work\r\n\r\nb\r\n");

    // Exact case only.
    state.settings.SubjectEdit = 1;
    StoreMail("Subject: [Unclassified] Hello\nX-Text-Classification: unclassified\n\nb\n");
    EXPECT_FALSE(Rewrite("work"));
    EXPECT_EQ(StoredMail(), "Subject: [Unclassified] Hello\r\nX-Text-Classification: work\r\n\r\nb\r\n");
}

TEST_F(CorrectMailTest, EmptyLineAfterSubjectIsDroppedAndTheHeaderStillFound)
{
    StoreMail("Subject: broken\n\nX-Text-Classification: spam\n\nbody\n\nmore\n");
    Rewrite("work");
    EXPECT_EQ(StoredMail(), "Subject: broken\r\nX-Text-Classification: work\r\n\r\nbody\r\n\r\nmore\r\n");
}

TEST_F(CorrectMailTest, LinesLongerThanTheReadBufferStayWhole)
{
    const std::string longValue(3000, 'r');
    const std::string longBucket(2500, 'b');
    StoreMail("Received: " + longValue + "\n"
              "X-Text-Classification: " + longBucket + "\n"
              "\n"
              "body\n");
    Rewrite("work");
    // The replaced header loses its whole old value, not only the part that was read.
    EXPECT_EQ(StoredMail(), "Received: " + longValue + "\r\n"
                            "X-Text-Classification: work\r\n"
                            "\r\n"
                            "body\r\n");
}

TEST_F(CorrectMailTest, MailWithoutTheHeaderStaysAsItWasButLosesItsMark)
{
    const std::string mail = "From: a\nSubject: s\nX-Other: 1\n\nX-Text-Classification: spam\n";
    StoreMail(mail);
    CorrectMail(context, mailPath, "work");
    EXPECT_EQ(StoredMail(), mail);
    EXPECT_FALSE(TempFileLeft());
    EXPECT_TRUE(host.callsTo("APAMoveMail").empty());
    const auto marks = host.callsTo("APAMarkMail");
    ASSERT_FALSE(marks.empty());
    EXPECT_EQ(marks[0].arguments, (Args{reference, "7", "0"}));
}

TEST_F(CorrectMailTest, FailedReplaceLeavesTheOriginalAndNoTemporaryFile)
{
    const std::string mail = "X-Text-Classification: spam\n\nbody\n";
    StoreMail(mail);
    files.failReplace(true);
    EXPECT_FALSE(Rewrite("work"));
    EXPECT_EQ(StoredMail(), mail);
    EXPECT_FALSE(TempFileLeft());
}

TEST_F(CorrectMailTest, FailedWriteLeavesTheOriginalAndNoTemporaryFile)
{
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full to make writes fail";
    }
    state.settings.SubjectEdit = 1;
    const std::string mail = "Subject: [unclassified] x\nX-Text-Classification: spam\n\n" +
                             std::string(200000, 'z') + "\n";
    StoreMail(mail);
    // Every write to the temporary file fails as on a full disk.
    std::filesystem::create_symlink("/dev/full", tempPath);
    EXPECT_FALSE(Rewrite("work"));
    EXPECT_EQ(StoredMail(), mail);
    EXPECT_FALSE(std::filesystem::is_symlink(tempPath));
}

TEST_F(CorrectMailTest, TemporaryFileThatCannotBeCreatedLeavesTheOriginal)
{
    const std::string mail = "X-Text-Classification: spam\n\nbody\n";
    StoreMail(mail);
    std::filesystem::create_directory(tempPath);
    Rewrite("work");
    EXPECT_EQ(StoredMail(), mail);
}

TEST_F(CorrectMailTest, MailNamedLikeItsTemporaryFileIsNotRewritten)
{
    const std::string oddPath = mailbox + "Account1\\inbox.box\\00018.TMP";
    WriteBytes(oddPath, "X-Text-Classification: spam\n\nbody\n");
    RewriteClassificationHeader(files, oddPath, "work", false);
    EXPECT_EQ(ReadDiskFile(oddPath), "X-Text-Classification: spam\n\nbody\n");
}

TEST_F(CorrectMailTest, NoCurrentMailMeansNoRewriteAndNoMark)
{
    ReclassifyCommand(context, nullptr, 0);  // no submenu was filled for a message
    EXPECT_TRUE(host.callsTo("APAMarkMail").empty());
    EXPECT_TRUE(host.callsTo("APAMoveMail").empty());
}

// ---- Filing the corrected message ---------------------------------------------------------

TEST_F(CorrectMailTest, CorrectedMailMovesToItsRulesFolderOrTheInbox)
{
    StoreMail("X-Text-Classification: spam\n\nbody\n");
    CorrectMail(context, mailPath, "work");
    StoreMail("X-Text-Classification: spam\n\nbody\n");
    CorrectMail(context, mailPath, "personal");
    const auto moves = host.callsTo("APAMoveMail");
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].arguments, (Args{reference, "アカウント1\\仕事"}));
    EXPECT_EQ(moves[1].arguments, (Args{reference, "アカウント1\\郵便受け"}));
    EXPECT_TRUE(host.callsTo("APASaveMail").empty());
}

TEST_F(CorrectMailTest, EditedSubjectIsCopiedIntoTheFolderAndTheOriginalDeleted)
{
    state.settings.SubjectEdit = 1;
    StoreMail("Subject: [unclassified] Hello\nX-Text-Classification: unclassified\n\nbody\n");
    CorrectMail(context, mailPath, "work");
    EXPECT_TRUE(host.callsTo("APAMoveMail").empty());
    const auto saves = host.callsTo("APASaveMail");
    const auto imports = host.callsTo("APAImportFile");
    const auto deletes = host.callsTo("APADeleteMail");
    ASSERT_EQ(saves.size(), 1u);
    ASSERT_EQ(imports.size(), 1u);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(saves[0].arguments[0], reference);
    EXPECT_EQ(imports[0].arguments[1], "アカウント1\\仕事");
    EXPECT_EQ(deletes[0].arguments, (Args{reference}));
}

TEST_F(CorrectMailTest, MailOutsideTheMailboxIsNeitherMarkedNorMoved)
{
    host.mailbox = mailbox + "Other\\";
    StoreMail("X-Text-Classification: spam\n\nbody\n");
    CorrectMail(context, mailPath, "work");
    EXPECT_TRUE(host.callsTo("APAMarkMail").empty());
    EXPECT_TRUE(host.callsTo("APAMoveMail").empty());
}

}  // namespace
