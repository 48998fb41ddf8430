// The other-settings dialog, filled in and confirmed as a user would, with its template
// from the loaded plug-in and the stand-in classifier behind the URL tests. The dialog runs
// in-process over a classifier link of the test's own, on the settings read from the INI file.
#include <gtest/gtest.h>

#include "classifier/http_client_win.h"
#include "classifier/reclassify.h"
#include "config/profile_store_win.h"
#include "config/settings_store.h"
#include "core/code_page_win.h"
#include "core/file_system_win.h"
#include "core/platform.h"
#include "core/plugin_state.h"
#include "dialog_driver_win.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"
#include "ui/other_settings_dialog_win.h"
#include "ui/resource_ids.h"

namespace {

constexpr const char* kCaption = "Tarnwick その他設定";

// What a script saw of a refusal box.
struct Refusal {
    std::string caption;
    std::string text;
    bool dialogStillOpen = false;
};

class OtherSettingsDialogTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(classifier.running());
    }

    // The plug-in started with this Setup section (after CheckConnect=0), and the dialog's
    // settings read from the INI file as the plug-in reads them.
    void StartWith(const std::string& setupLines)
    {
        writePluginIni("[Setup]\r\nCheckConnect=0\r\n" + setupLines + "[MoveMail]\r\nspam=ごみ箱\r\n");
        ASSERT_TRUE(startPlugin());
        loadSettings(state.settings, profile, files);
    }

    INT_PTR ShowDialog()
    {
        return RunOtherSettingsDialog(GetModuleHandleA("tarnwick.dll"), host().frame(), context);
    }

    // Presses "Ｏ　Ｋ" and answers the refusal box that must follow.
    static Refusal ConfirmRefused(const DialogDriver& dialog)
    {
        Refusal seen;
        dialog.click(IDC_OK_BUTTON);
        const std::optional<DialogDriver> box = DialogDriver::find("Tarnwick", IDOK, dialog.window());
        if (box) {
            seen.caption = box->caption();
            const std::vector<std::string> texts = box->staticTexts();
            seen.text = texts.empty() ? "" : texts.back();
            box->click(IDOK);
            box->waitClosed();
            dialog.settle();
        }
        seen.dialogStillOpen = dialog.open();
        return seen;
    }

    StandInClassifier classifier;
    PluginState state;
    Win32ProfileStore profile;
    Win32FileSystem files;
    Win32CodePageConverter codePage;
    Platform platform{profile, files, codePage};
    WinInetHttpClient http;
    ClassifierContext context{state, platform, http};
};

TEST_F(OtherSettingsDialogTest, NewUrlIsTestedAgainstTheClassifierBeforeAnythingIsStored)
{
    StartWith("SubjectEdit=1\r\nURL=http://127.0.0.1:1/\r\n");
    const std::string base = classifier.baseUrl();
    const std::string withoutSlash = base.substr(0, base.size() - 1);
    bool shownAsStored = false;
    std::vector<Refusal> refusals;
    std::vector<std::size_t> requestsAfterRefusal;
    std::string iniUrlWhileOpen;

    const INT_PTR result = RunWhileDriving([&] { return ShowDialog(); }, [&] {
        std::optional<DialogDriver> dialog = DialogDriver::find(kCaption, IDC_CANCEL_BUTTON, host().frame());
        if (!dialog) {
            return dialog;
        }
        shownAsStored = dialog->text(IDC_CLASSIFIER_URL) == "http://127.0.0.1:1/" &&
                        dialog->ticked(IDC_SUBJECT_EDIT) && !dialog->ticked(IDC_CHECK_CONNECT) &&
                        !dialog->ticked(IDC_AFTER_SET_BOLD) && !dialog->ticked(IDC_AUTO_RECEIVE);
        dialog->setText(IDC_CLASSIFIER_URL, "HTTP://127.0.0.1:" + std::to_string(classifier.port()) + "/");
        refusals.push_back(ConfirmRefused(*dialog));
        requestsAfterRefusal.push_back(classifier.requests().size());
        dialog->setText(IDC_CLASSIFIER_URL, base + "elsewhere/");
        refusals.push_back(ConfirmRefused(*dialog));
        requestsAfterRefusal.push_back(classifier.requests().size());
        iniUrlWhileOpen = readPluginIni("Setup", "URL");

        dialog->setText(IDC_CLASSIFIER_URL, withoutSlash);
        dialog->setTicked(IDC_SUBJECT_EDIT, false);
        dialog->setTicked(IDC_CHECK_CONNECT, true);
        dialog->setTicked(IDC_AUTO_RECEIVE, true);
        dialog->click(IDC_OK_BUTTON);
        dialog->waitClosed();
        return dialog;
    });

    EXPECT_TRUE(shownAsStored);
    ASSERT_EQ(refusals.size(), 2u);
    EXPECT_EQ(refusals[0].caption, "Tarnwick");
    EXPECT_EQ(refusals[0].text, "URL は、 http:// を入力してください") << Utf8(refusals[0].text);
    EXPECT_TRUE(refusals[0].dialogStillOpen);
    EXPECT_EQ(refusals[1].caption, "Tarnwick");
    EXPECT_EQ(refusals[1].text, "URL が正しくありません") << Utf8(refusals[1].text);
    EXPECT_TRUE(refusals[1].dialogStillOpen);
    EXPECT_EQ(requestsAfterRefusal, (std::vector<std::size_t>{0, 1})) << "a capital HTTP is not fetched";
    EXPECT_EQ(iniUrlWhileOpen, "http://127.0.0.1:1/") << "nothing is written before the URL passed";

    EXPECT_EQ(result, IDC_OK_BUTTON);
    const std::vector<StandInClassifier::Request> requests = classifier.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].target, "/elsewhere/");
    EXPECT_EQ(requests[1].target, "/");
    EXPECT_EQ(state.reclassify.sessionKey, classifier.sessionKey());
    EXPECT_EQ(readPluginIni("Setup", "URL"), base) << "the closing slash is added";
    EXPECT_EQ(readPluginIni("Setup", "SubjectEdit"), "0");
    EXPECT_EQ(readPluginIni("Setup", "CheckConnect"), "1");
    EXPECT_EQ(readPluginIni("Setup", "AfterSetBold"), "0");
    EXPECT_EQ(readPluginIni("Setup", "AutoReceive"), "1");
    EXPECT_EQ(readPluginIni("Setup", "DispDialog"), "1");
}

// Keys that only end a dialog through its OK and Cancel ids; this one has neither.
TEST_F(OtherSettingsDialogTest, KeysDoNothingCancelAndCloseWriteNothingAnUnchangedUrlIsNotFetched)
{
    // The longest URL the INI file yields: 511 bytes.
    const std::string longUrl = "http://127.0.0.1:1/" + std::string(491, 'x') + "/";
    ASSERT_EQ(longUrl.size(), 511u);
    StartWith("URL=" + longUrl + "\r\nAfterSetBold=1\r\n");
    const std::optional<std::string> before = pluginIniBytes();
    bool openAfterKeys = false;
    std::string shownUrl;

    const INT_PTR cancelled = RunWhileDriving([&] { return ShowDialog(); }, [&] {
        std::optional<DialogDriver> dialog = DialogDriver::find(kCaption, IDC_CANCEL_BUTTON);
        if (!dialog) {
            return dialog;
        }
        shownUrl = dialog->text(IDC_CLASSIFIER_URL);
        dialog->setText(IDC_CLASSIFIER_URL, classifier.baseUrl());
        dialog->setTicked(IDC_AUTO_RECEIVE, true);
        dialog->pressKey(VK_ESCAPE, IDC_CLASSIFIER_URL);
        dialog->pressKey(VK_RETURN, IDC_CLASSIFIER_URL);
        dialog->pressKey(VK_ESCAPE, IDC_OK_BUTTON);
        dialog->settle();
        openAfterKeys = dialog->open();
        dialog->click(IDC_CANCEL_BUTTON);
        dialog->waitClosed();
        return dialog;
    });
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(shownUrl, longUrl);
    EXPECT_EQ(cancelled, IDC_CANCEL_BUTTON);

    const INT_PTR closed = RunWhileDriving([&] { return ShowDialog(); }, [&] {
        std::optional<DialogDriver> dialog = DialogDriver::find(kCaption, IDC_CANCEL_BUTTON);
        if (dialog) {
            dialog->setTicked(IDC_CHECK_CONNECT, true);
            dialog->closeBox();
            dialog->waitClosed();
        }
        return dialog;
    });
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(pluginIniBytes(), before) << "Cancel and the close box write nothing";

    const INT_PTR confirmed = RunWhileDriving([&] { return ShowDialog(); }, [&] {
        std::optional<DialogDriver> dialog = DialogDriver::find(kCaption, IDC_OK_BUTTON);
        if (dialog) {
            dialog->click(IDC_OK_BUTTON);
            dialog->waitClosed();
        }
        return dialog;
    });
    EXPECT_EQ(confirmed, IDC_OK_BUTTON);
    EXPECT_TRUE(classifier.requests().empty()) << "an unchanged URL is not tested";
    EXPECT_EQ(readPluginIni("Setup", "URL"), longUrl);
    EXPECT_EQ(readPluginIni("Setup", "AfterSetBold"), "1");
    EXPECT_EQ(readPluginIni("Setup", "Beep"), "0");
}

}  // namespace
