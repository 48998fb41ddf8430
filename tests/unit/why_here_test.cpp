#include "plugin/why_here.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "doubles/host_services_fake.h"
#include "doubles/profile_store_fake.h"
#include "mailbox/folder_catalogue.h"
#include "plugin/plugin_state.h"

namespace {

class WhyHereTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tarnwick-why-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        host.mailbox = directory_ + "/";
        state.host = host.api;
        state.settings.URL = "http://127.0.0.1:8080/";
        profile.loadText(host.mailbox + "acct\\account.ini", "[Property]\nTitle=口座\n");
        state.headerRules = {{"X-ML-Name:", "tarnwick", "work"}};
        state.sortRules = {Rule("work", "仕事"), Rule("Spam", "ごみ箱"), Rule("news", "ニュース")};
        folders.entries = {FolderEntry{"仕事"}};
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    static SortRule Rule(const std::string& bucket, const std::string& folder)
    {
        SortRule rule;
        rule.bucket = bucket;
        rule.folder = folder;
        return rule;
    }

    std::vector<std::string> Explain(const std::string& headers)
    {
        const std::string path = host.mailbox + "acct\\inbox.box\\1.CRV";
        std::ofstream(path, std::ios::binary) << headers << "\n\nbody\n";
        return ExplainFiling(state, profile, folders, path);
    }

    HostServicesFake host;
    ProfileStoreFake profile;
    PluginState state;
    FolderCatalogue folders;

private:
    std::string directory_;
};

TEST_F(WhyHereTest, TellsWhatGaveTheBucketWhereItGoesAndWhatIsWrong)
{
    const std::vector<std::string> byRule =
        Explain("X-Text-Classification: spam\nX-ML-Name: tarnwick-dev\n"
                "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=7");
    EXPECT_EQ(byRule[0], "X-Text-Classification: の行で分類されました") << "the first line decides";
    EXPECT_EQ(byRule[1], "分類: spam");
    EXPECT_EQ(byRule[3], "大文字と小文字だけが違う分類「Spam」の規則があります。分類名は大文字と小文字も区別されます");

    const std::vector<std::string> byHeader = Explain("X-ML-Name: tarnwick-dev\nX-Text-Classification: spam");
    EXPECT_EQ(byHeader[0], "ヘッダ規則 1 (ヘッダ「X-ML-Name:」、検索「tarnwick」) に一致しました");
    EXPECT_EQ(byHeader[3], "振り分け先: 口座\\仕事");
    EXPECT_EQ(byHeader[4], "フォルダ「仕事」はこのアカウントにあります");
    EXPECT_EQ(byHeader[5], "X-POPFile-Link: の行がありません");

    const std::vector<std::string> missing = Explain(
        "X-Text-Classification: news\nX-POPFile-Link: http://evil.example/jump_to_message?view=9");
    EXPECT_EQ(missing[4], "フォルダ「ニュース」はこのアカウントにありません。フォルダを作るか、振り分け規則を直してください");
    EXPECT_NE(missing[5].find("信頼できないリンク"), std::string::npos) << missing[5];
    EXPECT_EQ(missing[6], "POPFileの番号がありません。訂正してもPOPFileには伝わりません");

    const std::vector<std::string> none = Explain("Subject: plain");
    EXPECT_EQ(none[1], "分類: なし。メールは郵便受けに残ります");
    // Read-only: nothing written, nothing asked of the host but the mailbox root.
    for (const ProfileCall& call : profile.calls()) {
        EXPECT_TRUE(call.kind == ProfileCall::Kind::ReadString) << call.file;
    }
    for (const HostServicesFake::Call& call : host.calls) {
        EXPECT_EQ(call.service, "APAGetMailbox");
    }
}

}  // namespace
