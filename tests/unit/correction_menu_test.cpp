#include "plugin/correction_menu.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "base/platform.h"
#include "mailbox/mailbox.h"
#include "plugin/correct_mail.h"
#include "plugin/plugin_state.h"
#include "doubles/classifier_doubles.h"
#include "doubles/code_page_converter_fake.h"
#include "doubles/file_system_fake.h"
#include "doubles/host_services_fake.h"
#include "doubles/http_client_fake.h"
#include "doubles/menu_writer_fake.h"
#include "doubles/profile_store_fake.h"
#include "doubles/selected_mail_correction_fake.h"
#include "doubles/url_opener_fake.h"

namespace {

using Kind = MenuItemRecord::Kind;

constexpr const char* kUrl = "http://127.0.0.1:8080/";
constexpr const char* kLink = "http://127.0.0.1:8080/jump_to_message?view=17";

// What the host's window-related services answer; the services are plain functions.
struct WindowAnswers {
    std::string currentEntry;  // empty: no current entry
    std::string viewPath;      // empty: no path
    std::vector<std::string> selection;
    std::size_t nextSelected = 0;
    struct Registration {
        HostCommandProc proc;
        intptr_t parameter;
    };
    std::vector<Registration> registrations;
};
WindowAnswers* answers = nullptr;

const char* TW_STDCALL CurrentEntry(HostWindow)
{
    return answers->currentEntry.empty() ? nullptr : answers->currentEntry.c_str();
}

const char* TW_STDCALL ViewPath(HostWindow)
{
    return answers->viewPath.empty() ? nullptr : answers->viewPath.c_str();
}

const char* TW_STDCALL SelectEntry(HostWindow, int first)
{
    if (first != 0) {
        answers->nextSelected = 0;
    }
    if (answers->nextSelected >= answers->selection.size()) {
        return nullptr;
    }
    return answers->selection[answers->nextSelected++].c_str();
}

unsigned TW_STDCALL RegistCallback(HostCommandProc proc, intptr_t parameter)
{
    answers->registrations.push_back({proc, parameter});
    return 50000 + static_cast<unsigned>(answers->registrations.size());
}

void TW_STDCALL ReclassifyProc(HostWindow, intptr_t) {}

void TW_STDCALL RefetchProc(HostWindow, intptr_t) {}
void TW_STDCALL OpenProc(HostWindow, intptr_t) {}
void TW_STDCALL ExplainProc(HostWindow, intptr_t) {}

class CorrectionMenuTest : public ::testing::Test, protected ClassifierDoubles {
protected:
    void SetUp() override
    {
        answers = &window_;
        char pattern[] = "/tmp/tarnwick-menu-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        host.mailbox = directory_ + "/";
        host.api.APAFolderGetCurrentEntry = CurrentEntry;
        host.api.APAViewGetPath = ViewPath;
        host.api.APAFolderGetSelectEntry = SelectEntry;
        host.api.APARegistCallback = RegistCallback;
        state.host = host.api;
        state.settings.URL = kUrl;
        http.serve(std::string(kUrl) + "buckets",
                   ReadDiskFile(TestDataPath("classifier/buckets_page.html")));
    }

    void TearDown() override
    {
        std::filesystem::remove_all(directory_);
        answers = nullptr;
    }

    // Stores a mail as the folder window's current entry; returns its full path.
    std::string CurrentMail(const std::string& entry, const std::string& bytes)
    {
        const std::string path = host.mailbox + entry + ".CRV";
        std::ofstream(path, std::ios::binary) << bytes;
        window_.currentEntry = entry;
        return path;
    }

    void Select(int count)
    {
        window_.selection.assign(static_cast<std::size_t>(count), "Account1\\inbox.box\\0001");
    }

    const std::vector<WindowAnswers::Registration>& Registrations() const
    {
        return window_.registrations;
    }

    MenuCommandProcs procs{ReclassifyProc, RefetchProc, OpenProc, ExplainProc};
    MenuWriterFake menu;
    UrlOpenerFake opener;
    int frame_ = 0;
    HostWindow window = &frame_;

private:
    WindowAnswers window_;
    std::string directory_;
};

const std::string kClassifiedMail = "From: a\nX-Text-Classification: work\nX-POPFile-Link: " +
                                    std::string(kLink) + "\n\nbody\n";

// ---- Labels ------------------------------------------------------------------------------

TEST(CorrectionLabelTest, LabelsForOneAndSeveralMails)
{
    EXPECT_EQ(SingleMailCorrectionLabel("spam"), "POPFile訂正[spam]");
    EXPECT_EQ(SelectedMailsCorrectionLabel(3), "POPFile訂正(選択数 3)");
}

TEST(CorrectionLabelTest, LongBucketLabelIsCutToTwoHundredBytes)
{
    const std::string bucket(250, 'b');
    const std::string whole = "POPFile訂正[" + bucket + "]";
    EXPECT_EQ(SingleMailCorrectionLabel(bucket), whole.substr(0, 200));
    // "POPFile訂正[" is 12 bytes and "]" one more: a 187-byte bucket just fits.
    const std::string fits = "POPFile訂正[" + std::string(187, 'c') + "]";
    ASSERT_EQ(fits.size(), 200u);
    EXPECT_EQ(SingleMailCorrectionLabel(std::string(187, 'c')), fits);
    EXPECT_EQ(SingleMailCorrectionLabel(std::string(188, 'c')), fits.substr(0, 199) + "c");
}

// ---- Folder menu ---------------------------------------------------------------------------

TEST_F(CorrectionMenuTest, CountsSelectedMailsFromFirstToLast)
{
    EXPECT_EQ(CountSelectedMails(state.host, window), 0);
    Select(1);
    EXPECT_EQ(CountSelectedMails(state.host, window), 1);
    Select(3);
    EXPECT_EQ(CountSelectedMails(state.host, window), 3);
}

TEST_F(CorrectionMenuTest, NoSelectionOrNoClassificationGivesOnlyTheOpenItem)
{
    AddFolderMenuItems(context, procs, window, menu);
    Select(1);
    CurrentMail("Account1\\inbox.box\\0001", "From: a\nSubject: s\n\nbody\n");
    AddFolderMenuItems(context, procs, window, menu);

    // The explanation follows for the one selected mail, classified or not.
    ASSERT_EQ(menu.items().size(), 3u);
    for (const MenuItemRecord& item : menu.items()) {
        EXPECT_EQ(item.kind, Kind::Command);
    }
    EXPECT_EQ(menu.items()[0].text, "POPFileを開く");
    EXPECT_EQ(menu.items()[1].text, "POPFileを開く");
    EXPECT_EQ(menu.items()[2].text, "振り分けの理由");
    ASSERT_EQ(Registrations().size(), 3u);
    EXPECT_EQ(Registrations()[0].proc, OpenProc);
    EXPECT_EQ(Registrations()[0].parameter, 0);
    EXPECT_EQ(Registrations()[2].proc, ExplainProc);
    EXPECT_EQ(Registrations()[2].parameter, 0);
    EXPECT_EQ(menu.items()[0].command, 50001u);
    EXPECT_TRUE(http.requests().empty());
}

TEST_F(CorrectionMenuTest, OneMailGetsTheBucketsWithItsOwnChecked)
{
    Select(1);
    const std::string path = CurrentMail("Account1\\inbox.box\\0001", kClassifiedMail);
    AddFolderMenuItems(context, procs, window, menu);

    ASSERT_EQ(menu.items().size(), 3u);
    const MenuItemRecord& submenu = menu.items()[0];
    EXPECT_EQ(submenu.kind, Kind::Submenu);
    EXPECT_EQ(submenu.text, "POPFile訂正[work]");
    ASSERT_EQ(submenu.submenu.size(), 5u);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"spam", false}, {"work", true}, {"personal", false}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(submenu.submenu[i].kind, Kind::Radio);
        EXPECT_EQ(submenu.submenu[i].text, expected[i].first);
        EXPECT_EQ(submenu.submenu[i].checked, expected[i].second);
    }
    EXPECT_EQ(submenu.submenu[3].kind, Kind::Separator);
    EXPECT_EQ(submenu.submenu[4].kind, Kind::Command);
    EXPECT_EQ(submenu.submenu[4].text, "バケツの再取得");
    EXPECT_EQ(menu.items()[1].text, "POPFileを開く");
    EXPECT_EQ(menu.items()[2].text, "振り分けの理由");

    // Bucket items carry their index; the last three registrations are re-fetch, open and
    // the explanation.
    ASSERT_EQ(Registrations().size(), 6u);
    for (intptr_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Registrations()[static_cast<std::size_t>(i)].proc, ReclassifyProc);
        EXPECT_EQ(Registrations()[static_cast<std::size_t>(i)].parameter, i);
        EXPECT_EQ(submenu.submenu[static_cast<std::size_t>(i)].command,
                  50001u + static_cast<unsigned>(i));
    }
    EXPECT_EQ(Registrations()[3].proc, RefetchProc);
    EXPECT_EQ(Registrations()[4].proc, OpenProc);
    EXPECT_EQ(Registrations()[5].proc, ExplainProc);

    // Its bucket items correct that mail.
    ReclassifyCommand(context, window, 2);
    EXPECT_NE(ReadDiskFile(path).find("X-Text-Classification: personal\r\n"), std::string::npos);
}

TEST_F(CorrectionMenuTest, CheckNeedsAnExactByteMatch)
{
    Select(1);
    CurrentMail("Account1\\inbox.box\\0001",
                "X-Text-Classification: Work\nX-POPFile-Link: " + std::string(kLink) + "\n\nb\n");
    AddFolderMenuItems(context, procs, window, menu);
    ASSERT_EQ(menu.items()[0].kind, Kind::Submenu);
    EXPECT_EQ(menu.items()[0].text, "POPFile訂正[Work]");
    for (const MenuItemRecord& item : menu.items()[0].submenu) {
        EXPECT_FALSE(item.checked) << item.text;
    }
}

TEST_F(CorrectionMenuTest, SeveralMailsListAllBucketsNoneChecked)
{
    Select(3);
    CurrentMail("Account1\\inbox.box\\0001", kClassifiedMail);
    AddFolderMenuItems(context, procs, window, menu);
    ASSERT_EQ(menu.items().size(), 2u);
    EXPECT_EQ(menu.items()[0].text, "POPFile訂正(選択数 3)");
    const auto& items = menu.items()[0].submenu;
    ASSERT_EQ(items.size(), 5u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i].kind, Kind::Radio);
        EXPECT_FALSE(items[i].checked);
    }
    // Its bucket items correct every selected mail.
    SelectedMailCorrectionFake selection;
    selection.paths = {CurrentMail("Account1\\inbox.box\\0002", kClassifiedMail),
                       CurrentMail("Account1\\inbox.box\\0003", kClassifiedMail)};
    context.selectedMails = &selection;
    ReclassifyCommand(context, window, 0);
    EXPECT_EQ(selection.windows, std::vector<HostWindow>{window});
    for (const std::string& path : selection.paths) {
        EXPECT_NE(ReadDiskFile(path).find("X-Text-Classification: spam\r\n"), std::string::npos);
    }
}

TEST_F(CorrectionMenuTest, UnreachableClassifierGivesTheNoInformationItem)
{
    http.unserve(std::string(kUrl) + "buckets");
    Select(1);
    CurrentMail("Account1\\inbox.box\\0001", kClassifiedMail);
    AddFolderMenuItems(context, procs, window, menu);
    ASSERT_EQ(menu.items()[0].submenu.size(), 1u);
    EXPECT_EQ(menu.items()[0].submenu[0].kind, Kind::Message);
    EXPECT_EQ(menu.items()[0].submenu[0].text, "POPFileの情報が取得できません");
}

TEST_F(CorrectionMenuTest, BucketListIsFetchedOnlyWhileEmpty)
{
    Select(1);
    CurrentMail("Account1\\inbox.box\\0001", kClassifiedMail);
    AddFolderMenuItems(context, procs, window, menu);
    AddFolderMenuItems(context, procs, window, menu);
    EXPECT_EQ(http.requestsTo(std::string(kUrl) + "buckets").size(), 1u);
}

TEST_F(CorrectionMenuTest, FillingLearnsTheClassifierAddressFromTheMail)
{
    state.settings.URL.clear();
    Select(1);
    CurrentMail("Account1\\inbox.box\\0001", kClassifiedMail);
    AddFolderMenuItems(context, procs, window, menu);
    EXPECT_EQ(state.settings.URL, kUrl);
    EXPECT_EQ(menu.items()[0].submenu.size(), 5u);
}

// ---- View menu ---------------------------------------------------------------------------

TEST_F(CorrectionMenuTest, ViewMenuCorrectsTheShownMail)
{
    const std::string path = CurrentMail("Account1\\inbox.box\\0002", kClassifiedMail);
    answers->currentEntry.clear();
    answers->viewPath = path;
    EXPECT_TRUE(AddViewMenuItems(context, procs, window, menu));
    ASSERT_EQ(menu.items().size(), 3u);
    EXPECT_EQ(menu.items()[0].text, "POPFile訂正[work]");
    EXPECT_TRUE(menu.items()[0].submenu[1].checked);
    EXPECT_EQ(menu.items()[2].text, "振り分けの理由");
    const auto& registrations = Registrations();
    ASSERT_GE(registrations.size(), 2u);
    EXPECT_EQ(registrations[registrations.size() - 2].proc, OpenProc);
    EXPECT_EQ(registrations[registrations.size() - 2].parameter, 1);
    EXPECT_EQ(registrations.back().proc, ExplainProc);
    EXPECT_EQ(registrations.back().parameter, 1);
    // Its bucket items correct the shown mail.
    ReclassifyCommand(context, window, 0);
    EXPECT_NE(ReadDiskFile(path).find("X-Text-Classification: spam\r\n"), std::string::npos);

    MenuWriterFake failing;
    failing.failAppends = true;
    EXPECT_FALSE(AddViewMenuItems(context, procs, window, failing));
}

TEST_F(CorrectionMenuTest, UnclassifiedMailFillsTheSubmenuWithTheNoRecordItem)
{
    answers->viewPath = CurrentMail("Account1\\inbox.box\\0003", "From: a\n\nbody\n");
    FillCorrectionMenu(context, procs, window, menu, kCorrectViewedMail);
    ASSERT_EQ(menu.items().size(), 1u);
    EXPECT_EQ(menu.items()[0].kind, Kind::Message);
    EXPECT_EQ(menu.items()[0].text, "メールにPOPFileの情報が記録されていません");
    EXPECT_TRUE(Registrations().empty());
}

TEST_F(CorrectionMenuTest, NoMailLeavesTheSubmenuEmpty)
{
    FillCorrectionMenu(context, procs, window, menu, kCorrectViewedMail);
    FillCorrectionMenu(context, procs, window, menu, kCorrectOneInFolder);
    EXPECT_TRUE(menu.items().empty());
}

// ---- Opening the classifier's page ------------------------------------------------------

TEST_F(CorrectionMenuTest, OpensTheMailsLinkElseTheUrl)
{
    const std::string path = CurrentMail("Account1\\inbox.box\\0001", kClassifiedMail);
    EXPECT_TRUE(OpenClassifierPage(context, opener, path));
    EXPECT_TRUE(OpenClassifierPage(context, opener, std::nullopt));
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kLink, kUrl}));
}

TEST_F(CorrectionMenuTest, OnlyWebAddressesAreOpened)
{
    const std::string path = CurrentMail(
        "Account1\\inbox.box\\0001",
        "X-Text-Classification: work\nX-POPFile-Link: C:\\Windows\\calc.exe jump\n\nb\n");
    EXPECT_TRUE(OpenClassifierPage(context, opener, path));
    state.settings.URL = "file:///C:/Windows/";
    EXPECT_FALSE(OpenClassifierPage(context, opener, path));
    state.settings.URL.clear();
    EXPECT_FALSE(OpenClassifierPage(context, opener, path));
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kUrl}));
}

TEST_F(CorrectionMenuTest, ForeignLinkOpensTheUrlAndTeachesNothing)
{
    const std::string path = CurrentMail(
        "Account1\\inbox.box\\0001",
        "X-POPFile-Link: http://127.0.0.1@evil.example/jump_to_message?view=1\n"
        "X-Text-Classification: work\n\nb\n");
    EXPECT_TRUE(OpenClassifierPage(context, opener, path));
    state.settings.URL.clear();
    EXPECT_FALSE(OpenClassifierPage(context, opener, path));
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kUrl}));
    EXPECT_EQ(state.settings.URL, "");
}

TEST_F(CorrectionMenuTest, OpenForMailUsesTheWindowsMail)
{
    OpenClassifierPageForMail(context, opener, window, false);  // no current entry
    EXPECT_TRUE(opener.opened.empty());

    const std::string path = CurrentMail("Account1\\inbox.box\\0001", kClassifiedMail);
    state.settings.URL.clear();
    OpenClassifierPageForMail(context, opener, window, false);
    answers->currentEntry.clear();
    answers->viewPath = path;
    OpenClassifierPageForMail(context, opener, window, true);
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kLink, kLink}));
    EXPECT_EQ(state.settings.URL, kUrl);  // learned from the link
}

TEST_F(CorrectionMenuTest, ToolbarOpenPrefersTheUrlSetting)
{
    CurrentMail("Account1\\inbox.box\\0001", kClassifiedMail);
    state.settings.URL = "http://localhost:9999/";
    OpenClassifierStartPage(context, opener, window);
    state.settings.URL.clear();
    OpenClassifierStartPage(context, opener, window);
    EXPECT_EQ(opener.opened, (std::vector<std::string>{"http://localhost:9999/", kLink}));
}

}  // namespace
