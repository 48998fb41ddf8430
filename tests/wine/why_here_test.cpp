// "振り分けの理由" from the folder and view menus in the replacement host: the dialog explains
// each way a message is filed, and changes nothing.
#include <gtest/gtest.h>

#include <sstream>

#include "base/resource_ids.h"
#include "driven_run_win.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"

namespace {

class WhyHereTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(classifier.running());
        account = addAccount("acct", "私の口座");
        mailbox().addFolder(account, "仕事");
        writePluginIni("[Setup]\r\nCheckConnect=0\r\nURL=" + classifier.baseUrl() + "\r\n"
                       "[MoveMail]\r\nwork=仕事\r\nSpam=ごみ箱\r\nnews=ニュース\r\n"
                       "[Action]\r\nwork=1,0,0\r\nSpam=0,1,0\r\nnews=2,0,1\r\n"
                       "[Mark]\r\nwork=3\r\nSpam=0\r\nnews=0\r\n"
                       "[AdditionalHeader]\r\n1=work:X-ML-Name:::tarnwick\r\n");
        ASSERT_TRUE(startPlugin());
        host().openFolder(Mailbox::inbox(account));
    }

    std::string Mail(const std::vector<std::string>& headers)
    {
        return mailbox().addMessage(Mailbox::inbox(account), MailText(headers, "body\r\n"));
    }

    // Chooses "振り分けの理由" for mail in the folder menu (or in a view of it) and returns the
    // dialog's lines.
    std::vector<std::string> Explain(const std::string& mail, bool fromView = false)
    {
        host().setCurrentEntry(mail);
        host().setSelection({mail});
        BuiltMenu menu = fromView ? host().viewMenu(host().openView(mail), 202) : host().folderMenu(102);
        std::string text;
        HWND owner = nullptr;
        const DrivenRun run = RunDriven(
            [&] { return host().chooseMenuItem(menu, "振り分けの理由") ? 1 : 0; },
            [&](DialogDriver& driver) {
                HWND box = driver.waitForDialog("Tarnwick 振り分けの理由", IDC_WHY_HERE_TEXT);
                text = driver.text(box, IDC_WHY_HERE_TEXT);
                owner = GetWindow(box, GW_OWNER);
                driver.pressKey(box, VK_ESCAPE);
                driver.waitUntilClosed(box);
            });
        EXPECT_EQ(run.failure, "");
        EXPECT_EQ(run.result, 1);
        EXPECT_NE(owner, nullptr) << "owned by the window";
        std::vector<std::string> lines;
        std::istringstream stream(text);
        for (std::string line; std::getline(stream, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
        }
        return lines;
    }

    StandInClassifier classifier;
    std::string account;
};

TEST_F(WhyHereTest, ExplainsEachWayAMessageIsFiledAndChangesNothing)
{
    const std::string link = "X-POPFile-Link: " + classifier.baseUrl() + "jump_to_message?view=";
    const std::string byRule = Mail({"X-ML-Name: tarnwick-dev", "X-Text-Classification: spam", link + "7"});
    const std::string byLine = Mail({"X-Text-Classification: work", link + "8"});
    const std::string noRule = Mail({"X-Text-Classification: spam", "X-POPFile-Link: http://evil.example/jump_to_message?view=9"});
    const std::string missingFolder = Mail({"X-Text-Classification: news", link + "0"});
    host().clearCalls();

    EXPECT_EQ(Explain(byRule), (std::vector<std::string>{
        "ヘッダ規則 1 (ヘッダ「X-ML-Name:」、検索「tarnwick」) に一致しました",
        "分類: work",
        "振り分け規則: フォルダ「仕事」、メッセージを表示する、緑色、サーバーから削除しない、"
        "複製してCorvaneにオリジナルを削除させるしない",
        "振り分け先: 私の口座\\仕事",
        "フォルダ「仕事」はこのアカウントにあります",
        "X-POPFile-Link: " + classifier.baseUrl() + "jump_to_message?view=7 (信頼できるリンクです)",
        "POPFileの番号: 7"}));
    const std::vector<std::string> line = Explain(byLine, true);
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line[0], "X-Text-Classification: の行で分類されました");
    EXPECT_EQ(line[1], "分類: work");
    EXPECT_EQ(Explain(noRule), (std::vector<std::string>{
        "X-Text-Classification: の行で分類されました",
        "分類: spam",
        "分類「spam」の振り分け規則はありません。メールは郵便受けに残ります",
        "大文字と小文字だけが違う分類「Spam」の規則があります。分類名は大文字と小文字も区別されます",
        "X-POPFile-Link: http://evil.example/jump_to_message?view=9 (信頼できないリンクです。"
        "このコンピュータのアドレスでも URL で始まるアドレスでもありません)",
        "POPFileの番号がありません。訂正してもPOPFileには伝わりません"}));
    const std::vector<std::string> missing = Explain(missingFolder);
    EXPECT_NE(std::find(missing.begin(), missing.end(),
                        "フォルダ「ニュース」はこのアカウントにありません。フォルダを作るか、振り分け規則を直してください"),
              missing.end());
    EXPECT_EQ(missing.back(), "POPFileの番号がありません。訂正してもPOPFileには伝わりません");

    // Read-only: nothing moved, marked, copied or deleted, nothing sent to the classifier.
    for (const char* service : {"APAMoveMail", "APAMarkMail", "APASaveMail", "APAImportFile", "APADeleteMail"}) {
        EXPECT_TRUE(host().callsTo(service).empty()) << service;
    }
    EXPECT_TRUE(classifier.corrections().empty());
}

TEST_F(WhyHereTest, OfferedForOneMessageOnlyAfterTheOpenItem)
{
    const std::string first = Mail({"Subject: no classification"});
    const std::string second = Mail({"X-Text-Classification: work"});
    host().setCurrentEntry(first);
    host().setSelection({first});
    BuiltMenu one = host().folderMenu(102);
    const std::vector<std::string> labels = one.labels();
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[labels.size() - 2], "POPFileを開く");
    EXPECT_EQ(labels.back(), "振り分けの理由");

    host().setSelection({first, second});
    BuiltMenu several = host().folderMenu(102);
    EXPECT_FALSE(several.find("振り分けの理由").has_value());
}

}  // namespace
