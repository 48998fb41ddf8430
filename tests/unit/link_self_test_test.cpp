#include "plugin/link_self_test.h"

#include <gtest/gtest.h>

#include <functional>

#include "classifier/http_client.h"
#include "config/pending_corrections.h"
#include "config/settings_store.h"
#include "doubles/classifier_doubles.h"
#include "doubles/port_prober_fake.h"
#include "host_mailbox_fixture.h"

namespace {

const std::string kBase = "http://127.0.0.1:8080/";
const std::string kSession = "<a href=\"/history?session=k1\">History</a>";
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

bool Holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
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
        http.serve(kBase, kSession);
        http.serve(kBase + "buckets", kSession + "showbucket=spam\" showbucket=work\"");
    }

    std::vector<SelfTestLine> Run()
    {
        return JudgeSelfTest(inputs, RunSelfTestChecks(inputs, http, prober));
    }

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
    EXPECT_EQ(FormatSelfTestReport({lines[0], SelfTestLine{false, "x"}}),
              "〇 " + lines[0].text + "\r\n× x\r\n");
    ASSERT_EQ(http.requests().size(), 2u);
    EXPECT_EQ(http.requests()[0].method + " " + http.requests()[0].url, "GET " + kBase);
    EXPECT_EQ(http.requests()[1].method + " " + http.requests()[1].url, "GET " + kBase + "buckets");
}

TEST_F(LinkSelfTestTest, RulesAreCheckedAgainstPopFilesBucketsAndTheAccountsFolders)
{
    inputs.sortRules = {Rule("Spam", "送信箱"),           Rule("archive", "保管"),
                        Rule("unclassified", "郵便受け"), Rule("work", "保管"),
                        Rule("lists", "Lists\\Work"),     Rule("news", "Lists")};
    inputs.headerRules = {HeaderRuleFor("work"), HeaderRuleFor("junk")};
    const std::vector<std::string> problems = Problems();
    ASSERT_EQ(problems.size(), 7u);
    EXPECT_EQ(problems[0],
              "振り分け設定のバケツ「Spam」がPOPFileにありません。POPFileの「spam」とは"
              "大文字小文字だけが違います。振り分け設定を「spam」に直してください");
    EXPECT_EQ(problems[1],
              "振り分け設定のバケツ「archive」がPOPFileにありません。"
              "POPFileでバケツを作るか、振り分け設定を直してください");
    EXPECT_TRUE(Holds(problems[2], "「lists」がPOPFileにありません"));
    EXPECT_TRUE(Holds(problems[3], "「news」がPOPFileにありません"));
    EXPECT_TRUE(Holds(problems[4],
                      "追加ヘッダ「X-Spam-Flag: YES」のバケツ「junk」に振り分け設定がありません"));
    EXPECT_TRUE(Holds(problems[5], "フォルダ「保管」がこの口座にありません"))
        << "named once for two rules";
    EXPECT_TRUE(Holds(problems[6], "フォルダ「Lists」がこの口座にありません"))
        << "a group is no folder";

    inputs.account.reset();
    prober.probes.clear();
    const std::vector<std::string> withoutAccount = Problems();
    ASSERT_EQ(withoutAccount.size(), 6u) << "no folder lines";
    EXPECT_TRUE(Holds(withoutAccount[0], "今の口座が分からない"));
    EXPECT_TRUE(prober.probes.empty());
}

TEST_F(LinkSelfTestTest, EachPortOutcomeSaysWhatToDo)
{
    struct Case {
        ClassifierAccount account;
        int result;  // of the account's server; 127.0.0.1 answers
        std::size_t probes;
        std::string says;
    };
    const Case cases[] = {
        {{"127.0.0.1", 8110}, -1, 1, "(127.0.0.1:8110) に接続できません。POPFileが起動しているか"},
        {{"pop.invalid", 8110}, -2, 1, "POP3サーバー「pop.invalid」が見つかりません"},
        {{"127.0.0.1", 8110}, kProbeGivenUp, 1, "(127.0.0.1:8110) が5秒待っても応答しません"},
        {{"127.0.0.1", 0}, 0, 0, "POP3サーバーとポートが設定されていません"},
        {{"", 110}, 0, 0, "POP3サーバーとポートが設定されていません"},
        {{"127.0.0.1", 70000}, 0, 0, "POP3ポート (70000) はポート番号になりません"},
        {{"LocalHost", 8110},
         -2,
         2,
         "LocalHost:8110 には接続できませんが、127.0.0.1:8110 には接続できます。"
         "口座のPOP3サーバーを 127.0.0.1 にしてください"},
    };
    for (const Case& test : cases) {
        inputs.account = test.account;
        prober.probes.clear();
        prober.resultFor = {{test.account.server, test.result}};
        const std::vector<SelfTestLine> lines = Run();
        EXPECT_FALSE(lines[0].fine) << lines[0].text;
        EXPECT_TRUE(Holds(lines[0].text, test.says)) << lines[0].text;
        EXPECT_EQ(prober.probes.size(), test.probes) << test.says;
    }
    // Both names refused: the name's own outcome.
    prober.result = -1;
    EXPECT_TRUE(Holds(Run()[0].text, "POP3サーバー「LocalHost」が見つかりません"));
}

TEST_F(LinkSelfTestTest, PagesThatCannotServeSayWhyAndStopTheRequestsThere)
{
    struct Case {
        std::function<void(HttpClientFake&)> serve;
        std::vector<std::string> says;  // the problem lines
        std::size_t requests;
    };
    const Case cases[] = {
        {[](HttpClientFake& http) { http.serve(kBase, kPasswordPage); },
         {"POPFileのパスワード画面が表示されました。"
          "POPFileの設定でパスワードを外すか、ブラウザでPOPFileにログインしてください"},
         1},
        {[](HttpClientFake& http) { http.serve(kBase + "buckets", kPasswordPage); },
         {"POPFileのパスワード画面が表示されました。"},
         2},
        {[](HttpClientFake& http) {
             http.serve(kBase, "<html>another server</html>");
             http.serve(kBase + "buckets", "showbucket=spam\"");
         },
         {"POPFileの画面にセッションキーが見つかりません。",
          "POPFileのバケツ画面 (" + kBase + "buckets) にバケツが見つかりません。"},
         2},
        {[](HttpClientFake& http) { http.serve(kBase, std::string("\0page", 5)); },
         {"が何も返しませんでした。"},
         1},
        {[](HttpClientFake& http) { http.unserve(kBase); },
         {"に接続できません。POPFileが起動しているか、URLが正しいか"},
         1},
        {[](HttpClientFake& http) { http.hang(kBase); },
         {"POPFileの画面 (" + kBase + ") が5秒待っても応答しません。POPFileを起動し直してください"},
         1},
    };
    for (const Case& test : cases) {
        http = HttpClientFake();
        SetUp();
        test.serve(http);
        const std::vector<std::string> problems = Problems();
        ASSERT_EQ(problems.size(), test.says.size()) << test.says[0];
        for (std::size_t i = 0; i < problems.size(); ++i) {
            EXPECT_TRUE(Holds(problems[i], test.says[i])) << problems[i];
        }
        EXPECT_EQ(http.requests().size(), test.requests) << test.says[0];
    }
}

TEST_F(LinkSelfTestTest, AddressIsTestedWithAClosingSlashAndNeverWithoutHttp)
{
    inputs.url = "http://127.0.0.1:8080";
    EXPECT_TRUE(Problems().empty());
    for (const std::string url : {"", "HTTP://127.0.0.1:8080/", "https://127.0.0.1:8080/"}) {
        inputs.url = url;
        const std::vector<SelfTestLine> lines = Run();
        ASSERT_EQ(lines.size(), 5u) << "port, URL, header rules, folders, pending";
        EXPECT_TRUE(Holds(lines[1].text,
                          url.empty() ? "URLが設定されていません" : "http:// で始まっていません"));
    }
    EXPECT_EQ(http.requests().size(), 2u);
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
            "[Property]\nOrder=001,005\nPOP3Server=localhost\nPOP3Port=8110\n");
    }
    doubles.state.folderCatalogue.entries = {FolderEntry{"kept"}};
    const int32_t today = doubles.classifier.today();
    SavePendingCorrections({{17, "work", today}, {18, "spam", today}}, doubles.profile,
                           pluginIniPath(doubles.files));
    doubles.profile.clearCalls();
    int frame = 0;

    const SelfTestInputs inputs =
        GatherSelfTestInputs(doubles.host.api, doubles.profile, &frame, "http://typed/",
                             {Rule("work", "News")}, {}, doubles.classifier);
    EXPECT_EQ(inputs.url, "http://typed/");
    ASSERT_TRUE(inputs.account);
    EXPECT_EQ(inputs.account->server + ":" + std::to_string(inputs.account->port),
              "localhost:8110");
    EXPECT_EQ(inputs.folders, (std::vector<std::string>{"News", "領収書"}));
    EXPECT_EQ(inputs.sortRules.size(), 1u);
    EXPECT_EQ(inputs.pendingCorrections, 2u);
    for (const ProfileCall& call : doubles.profile.calls()) {
        EXPECT_TRUE(call.kind == ProfileCall::Kind::ReadString ||
                    call.kind == ProfileCall::Kind::ReadKeyNames)
            << call.file << " " << call.key;
    }
    EXPECT_EQ(doubles.state.folderCatalogue.entries.size(), 1u)
        << "the plug-in's catalogue is left alone";

    doubles.host.accountKnown = false;
    EXPECT_FALSE(GatherSelfTestInputs(doubles.host.api, doubles.profile, &frame, kBase, {}, {},
                                      doubles.classifier)
                     .account);
}

}  // namespace
