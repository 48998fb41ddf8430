#include "plugin/link_self_test.h"

#include <gtest/gtest.h>

#include "classifier/http_client.h"
#include "config/pending_corrections.h"
#include "config/settings_store.h"
#include "doubles/classifier_doubles.h"
#include "doubles/port_prober_fake.h"
#include "host_mailbox_fixture.h"

namespace {

const std::string kBase = "http://127.0.0.1:8080/";
const std::string kStartPage = "<a href=\"/history?session=k1\">History</a>";
const std::string kBucketPage =
    "<a href=\"/history?session=k1\">History</a>"
    "<a href=\"/buckets?session=k1&amp;showbucket=spam\">spam</a>"
    "<a href=\"/buckets?session=k1&amp;showbucket=work\">work</a>";
const std::string kPasswordPage = "<form action=\"/password\" method=\"post\">";

SortRule Rule(const std::string& bucket, const std::string& folder)
{
    SortRule rule;
    rule.bucket = bucket;
    rule.folder = folder;
    return rule;
}

HeaderRule HeaderRuleFor(const std::string& bucket)
{
    return HeaderRule{"X-Spam-Flag:", "YES", bucket};
}

class LinkSelfTestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        inputs.url = kBase;
        inputs.account = ClassifierAccount{"127.0.0.1", 8110};
        inputs.folders = {"仕事", "Lists\\Work"};
        inputs.sortRules = {Rule("spam", "ごみ箱"), Rule("work", "仕事")};
        inputs.headerRules = {HeaderRuleFor("spam")};
        http.serve(kBase, kStartPage);
        http.serve(kBase + "buckets", kBucketPage);
    }

    std::vector<SelfTestLine> Run()
    {
        return JudgeSelfTest(inputs, RunSelfTestChecks(inputs, http, prober));
    }

    // The texts of the problem lines.
    std::vector<std::string> Problems()
    {
        std::vector<std::string> problems;
        for (const SelfTestLine& line : Run()) {
            if (!line.fine) {
                problems.push_back(line.text);
            }
        }
        return problems;
    }

    static bool Holds(const std::string& text, const std::string& part)
    {
        return text.find(part) != std::string::npos;
    }

    SelfTestInputs inputs;
    HttpClientFake http;
    PortProberFake prober;
};

TEST_F(LinkSelfTestTest, WorkingSetUpGivesAFineLinePerCheckFromTwoGets)
{
    const std::vector<SelfTestLine> lines = Run();
    ASSERT_EQ(lines.size(), 9u) << FormatSelfTestReport(lines);
    for (const SelfTestLine& line : lines) {
        EXPECT_TRUE(line.fine) << line.text;
    }
    EXPECT_EQ(lines[0].text, "POPFileのPOP3ポート (127.0.0.1:8110) に接続できます");
    EXPECT_EQ(lines[4].text, "POPFileのバケツ (2 個): spam, work");
    ASSERT_EQ(http.requests().size(), 2u);
    EXPECT_EQ(http.requests()[0].method, "GET");
    EXPECT_EQ(http.requests()[0].url, kBase);
    EXPECT_EQ(http.requests()[1].method, "GET");
    EXPECT_EQ(http.requests()[1].url, kBase + "buckets");
    EXPECT_EQ(prober.probes, (std::vector<std::pair<std::string, int32_t>>{{"127.0.0.1", 8110}}));

    const std::string report = FormatSelfTestReport({lines[0], SelfTestLine{false, "x"}});
    EXPECT_EQ(report, "〇 " + lines[0].text + "\r\n× x\r\n");
}

TEST_F(LinkSelfTestTest, RuleBucketsPopFileLacksAreNamedWithTheOneDifferingInLetterCase)
{
    inputs.sortRules = {Rule("Spam", "ごみ箱"), Rule("archive", "仕事"),
                        Rule("unclassified", "郵便受け"), Rule("work", "仕事")};
    inputs.headerRules = {HeaderRuleFor("work")};
    const std::vector<std::string> problems = Problems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_TRUE(Holds(problems[0], "「Spam」がPOPFileにありません"));
    EXPECT_TRUE(Holds(problems[0], "「spam」とは大文字小文字だけが違います")) << problems[0];
    EXPECT_TRUE(Holds(problems[1], "「archive」がPOPFileにありません"));
    EXPECT_FALSE(Holds(problems[1], "大文字小文字")) << "no bucket differs from archive in case";
}

TEST_F(LinkSelfTestTest, HeaderRuleBucketsAndFoldersAreCheckedAgainstTheRulesAndTheAccount)
{
    inputs.headerRules = {HeaderRuleFor("spam"), HeaderRuleFor("junk")};
    inputs.sortRules = {Rule("spam", "送信箱"), Rule("work", "保管"), Rule("personal", "保管"),
                        Rule("lists", "Lists\\Work"), Rule("news", "Lists")};
    http.serve(kBase + "buckets",
               kBucketPage + "showbucket=personal\"showbucket=lists\"showbucket=news\"");
    const std::vector<std::string> problems = Problems();
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_TRUE(Holds(problems[0],
                      "追加ヘッダ「X-Spam-Flag: YES」のバケツ「junk」に振り分け設定がありません"));
    EXPECT_TRUE(Holds(problems[1], "フォルダ「保管」がこの口座にありません"))
        << "named once for two rules";
    EXPECT_TRUE(Holds(problems[2], "フォルダ「Lists」がこの口座にありません"))
        << "a group is no folder";

    // Without an account, neither the port nor the folders can be checked: one line says so.
    inputs.account.reset();
    prober.probes.clear();
    const std::vector<std::string> withoutAccount = Problems();
    ASSERT_EQ(withoutAccount.size(), 2u);
    EXPECT_TRUE(Holds(withoutAccount[0], "今の口座が分からない"));
    EXPECT_TRUE(prober.probes.empty());
}

TEST_F(LinkSelfTestTest, EachPortOutcomeSaysWhatToDo)
{
    struct Case {
        ClassifierAccount account;
        int result;
        std::string says;
        std::size_t probes;
    };
    const Case cases[] = {
        {{"127.0.0.1", 8110}, -1, "に接続できません。POPFileが起動しているか", 1},
        {{"pop.invalid", 8110}, -2, "POP3サーバー「pop.invalid」が見つかりません", 1},
        {{"127.0.0.1", 8110}, kProbeGivenUp, "(127.0.0.1:8110) が5秒待っても応答しません", 1},
        {{"127.0.0.1", 0}, 0, "POP3サーバーとポートが設定されていません", 0},
        {{"", 110}, 0, "POP3サーバーとポートが設定されていません", 0},
        {{"127.0.0.1", 70000}, 0, "POP3ポート (70000) はポート番号になりません", 0},
        // "localhost" refused while 127.0.0.1 answers, and both refused.
        {{"LocalHost", 8110},
         -1,
         "LocalHost:8110 には接続できませんが、127.0.0.1:8110 には接続できます。"
         "口座のPOP3サーバーを 127.0.0.1 にしてください",
         2},
        {{"localhost", 8110}, -2, "POP3サーバー「localhost」が見つかりません", 2},
    };
    for (const Case& test : cases) {
        inputs.account = test.account;
        prober.probes.clear();
        prober.resultFor = {{test.account.server, test.result}};
        prober.result = test.account.server == "localhost" ? -1 : 0;
        const std::vector<SelfTestLine> lines = Run();
        ASSERT_FALSE(lines.empty());
        EXPECT_FALSE(lines[0].fine) << lines[0].text;
        EXPECT_TRUE(Holds(lines[0].text, test.says)) << lines[0].text;
        EXPECT_EQ(prober.probes.size(), test.probes) << test.says;
    }
}

TEST_F(LinkSelfTestTest, PasswordPageIsSaidWithWhatToDoAndNothingMoreIsAsked)
{
    http.serve(kBase, kPasswordPage);
    const std::vector<std::string> problems = Problems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0],
              "POPFileのパスワード画面が表示されました。"
              "POPFileの設定でパスワードを外すか、ブラウザでPOPFileにログインしてください");
    EXPECT_TRUE(http.requestsTo(kBase + "buckets").empty());

    // A bucket page that turned into the password page says the same.
    http.serve(kBase, kStartPage);
    http.serve(kBase + "buckets", kPasswordPage);
    EXPECT_EQ(Problems(), problems);
}

TEST_F(LinkSelfTestTest, StartPageWithoutAnswerOrKeyAndBucketPageWithoutBuckets)
{
    http.serve(kBase, "<html>another server</html>");
    http.serve(kBase + "buckets", "showbucket=spam\"");
    std::vector<std::string> problems = Problems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_TRUE(Holds(problems[0], "セッションキーが見つかりません"));
    EXPECT_TRUE(Holds(problems[1], "バケツ画面 (" + kBase + "buckets) にバケツが見つかりません"));

    http.serve(kBase, std::string("\0page", 5));
    problems = Problems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(Holds(problems[0], "が何も返しませんでした")) << problems[0];

    http.unserve(kBase);
    problems = Problems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(Holds(problems[0], "に接続できません。POPFileが起動しているか、URLが正しいか"))
        << problems[0];

    const std::size_t bucketRequests = http.requestsTo(kBase + "buckets").size();
    http.hang(kBase);
    problems = Problems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "POPFileの画面 (" + kBase +
                               ") が5秒待っても応答しません。POPFileを起動し直してください");
    EXPECT_EQ(http.requestsTo(kBase + "buckets").size(), bucketRequests)
        << "a hung classifier is asked once";
}

TEST_F(LinkSelfTestTest, AddressIsTestedAsTypedWithAClosingSlashAndNeverWithoutHttp)
{
    inputs.url = "http://127.0.0.1:8080";
    EXPECT_TRUE(Problems().empty());
    EXPECT_EQ(http.requests().size(), 2u);

    for (const std::string url : {"", "HTTP://127.0.0.1:8080/", "https://127.0.0.1:8080/"}) {
        inputs.url = url;
        const std::size_t before = http.requests().size();
        const std::vector<SelfTestLine> lines = Run();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_FALSE(lines[1].fine) << url;
        EXPECT_TRUE(Holds(lines[1].text,
                          url.empty() ? "URLが設定されていません" : "http:// で始まっていません"));
        EXPECT_EQ(http.requests().size(), before) << url;
        EXPECT_EQ(lines.size(), 5u) << "port, URL, header rules, folders, pending";
    }
}

TEST(LinkSelfTestGatherTest, ReadsTheAccountItsFoldersAndThePendingCountWithoutWriting)
{
    ClassifierDoubles doubles;
    const std::string mailbox = "C:\\Mail\\";
    doubles.host.mailbox = mailbox;
    doubles.host.account = mailbox + "home\\";
    ASSERT_GT(LoadHostMailboxFixture(doubles.profile, mailbox), 0);
    for (const char* separator : {"\\", "/"}) {
        doubles.profile.loadText(
            mailbox + "home" + separator + "account.ini",
            "[Property]\nTitle=Home\nOrder=001,005\nPOP3Server=localhost\nPOP3Port=8110\n");
    }
    doubles.state.settings.URL = kBase;
    doubles.state.folderCatalogue.entries = {FolderEntry{"kept"}};
    PendingCorrectionList pending(2);
    pending[0] = PendingCorrection{17, "work", doubles.classifier.today()};
    pending[1] = PendingCorrection{18, "spam", doubles.classifier.today()};
    SavePendingCorrections(pending, doubles.profile, pluginIniPath(doubles.files));
    doubles.profile.clearCalls();
    int frame = 0;

    const SelfTestInputs inputs =
        GatherSelfTestInputs(doubles.host.api, doubles.profile, &frame, "http://typed/",
                             {Rule("work", "News")}, {HeaderRuleFor("work")}, doubles.classifier);
    EXPECT_EQ(inputs.url, "http://typed/");
    ASSERT_TRUE(inputs.account);
    EXPECT_EQ(inputs.account->server, "localhost");
    EXPECT_EQ(inputs.account->port, 8110);
    EXPECT_EQ(inputs.folders, (std::vector<std::string>{"News", "領収書"}));
    EXPECT_EQ(inputs.sortRules.size(), 1u);
    EXPECT_EQ(inputs.headerRules.size(), 1u);
    EXPECT_EQ(inputs.pendingCorrections, 2u);
    for (const ProfileCall& call : doubles.profile.calls()) {
        EXPECT_TRUE(call.kind == ProfileCall::Kind::ReadString ||
                    call.kind == ProfileCall::Kind::ReadKeyNames)
            << call.file << " " << call.section << " " << call.key;
    }
    ASSERT_EQ(doubles.state.folderCatalogue.entries.size(), 1u)
        << "the plug-in's catalogue is left alone";
    EXPECT_EQ(doubles.state.settings.URL, kBase);
    EXPECT_TRUE(doubles.http.requests().empty());

    doubles.host.accountKnown = false;
    EXPECT_FALSE(GatherSelfTestInputs(doubles.host.api, doubles.profile, &frame, kBase, {}, {},
                                      doubles.classifier)
                     .account);
}

}  // namespace
