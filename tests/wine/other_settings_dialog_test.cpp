// The other-settings dialog, filled in and confirmed as a user would, with its template from
// the loaded plug-in and the stand-in classifier behind the URL tests. The dialog code runs
// in-process over a classifier link of the test's own, on the settings of the INI file.
#include <gtest/gtest.h>

#include <functional>

#include "dialog_driver_win.h"
#include "host_fixture.h"
#include "in_process_link_win.h"
#include "stand_in_classifier_win.h"
#include "ui/other_settings_dialog_win.h"
#include "ui/resource_ids.h"

namespace {

constexpr const char* kCaption = "Tarnwick その他設定";

class OtherSettingsDialogTest : public HostFixture {
protected:
    // The plug-in started with these Setup lines, and the link's settings read from the file.
    void StartWith(const std::string& setupLines)
    {
        ASSERT_TRUE(classifier.running());
        writePluginIni("[Setup]\r\nCheckConnect=0\r\n" + setupLines);
        ASSERT_TRUE(startPlugin());
        link.loadSettings();
    }

    // Runs the dialog while script drives it.
    INT_PTR RunDialog(const std::function<void(const DialogDriver&)>& script)
    {
        return RunWhileDriving(
            [&] { return RunOtherSettingsDialog(GetModuleHandleA("tarnwick.dll"), host().frame(), link.context); },
            [&] {
                std::optional<DialogDriver> dialog = DialogDriver::find(kCaption, IDC_CANCEL_BUTTON, host().frame());
                if (dialog) {
                    script(*dialog);
                    dialog->waitClosed();
                }
                return dialog;
            });
    }

    // Presses "Ｏ　Ｋ" and answers the refusal box that must follow: its caption and text,
    // and whether the dialog stayed open.
    static std::string ConfirmRefused(const DialogDriver& dialog)
    {
        dialog.click(IDC_OK_BUTTON);
        const std::optional<DialogDriver> box = DialogDriver::find("Tarnwick", IDOK, dialog.window());
        if (!box) {
            return "no refusal";
        }
        const std::vector<std::string> texts = box->staticTexts();
        const std::string seen = box->caption() + ": " + (texts.empty() ? "" : texts.back());
        box->click(IDOK);
        box->waitClosed();
        dialog.settle();
        return seen + (dialog.open() ? "" : " (dialog ended)");
    }

    StandInClassifier classifier;
    InProcessClassifierLink link;
};

TEST_F(OtherSettingsDialogTest, NewUrlIsTestedAgainstTheClassifierBeforeAnythingIsStored)
{
    StartWith("SubjectEdit=1\r\nURL=http://127.0.0.1:1/\r\n");
    const std::string base = classifier.baseUrl();
    bool shownAsStored = false;
    std::vector<std::string> refusals;
    std::vector<std::size_t> requests;
    std::string urlWhileOpen;
    const INT_PTR result = RunDialog([&](const DialogDriver& dialog) {
        shownAsStored = dialog.text(IDC_CLASSIFIER_URL) == "http://127.0.0.1:1/" &&
                        dialog.ticked(IDC_SUBJECT_EDIT) && !dialog.ticked(IDC_CHECK_CONNECT) &&
                        !dialog.ticked(IDC_AFTER_SET_BOLD) && !dialog.ticked(IDC_AUTO_RECEIVE);
        dialog.setText(IDC_CLASSIFIER_URL, "HTTP://127.0.0.1:" + std::to_string(classifier.port()) + "/");
        refusals.push_back(ConfirmRefused(dialog));
        requests.push_back(classifier.requests().size());
        dialog.setText(IDC_CLASSIFIER_URL, base + "elsewhere/");
        refusals.push_back(ConfirmRefused(dialog));
        requests.push_back(classifier.requests().size());
        urlWhileOpen = readPluginIni("Setup", "URL");

        dialog.setText(IDC_CLASSIFIER_URL, base.substr(0, base.size() - 1));
        dialog.setTicked(IDC_SUBJECT_EDIT, false);
        dialog.setTicked(IDC_CHECK_CONNECT, true);
        dialog.setTicked(IDC_AUTO_RECEIVE, true);
        dialog.click(IDC_OK_BUTTON);
    });

    EXPECT_TRUE(shownAsStored);
    EXPECT_EQ(refusals, (std::vector<std::string>{"Tarnwick: URL は、 http:// を入力してください",
                                                  "Tarnwick: URL が正しくありません"}))
        << Utf8(refusals.empty() ? "" : refusals[0]);
    EXPECT_EQ(requests, (std::vector<std::size_t>{0, 1})) << "a capital HTTP is not fetched";
    EXPECT_EQ(urlWhileOpen, "http://127.0.0.1:1/") << "nothing is written before the URL passed";
    EXPECT_EQ(result, IDC_OK_BUTTON);
    const std::vector<StandInClassifier::Request> fetched = classifier.requests();
    ASSERT_EQ(fetched.size(), 2u);
    EXPECT_EQ(fetched[0].target, "/elsewhere/");
    EXPECT_EQ(fetched[1].target, "/");
    EXPECT_EQ(readPluginIni("Setup", "URL"), base) << "the closing slash is added";
    EXPECT_EQ(readPluginIni("Setup", "SubjectEdit"), "0");
    EXPECT_EQ(readPluginIni("Setup", "CheckConnect"), "1");
    EXPECT_EQ(readPluginIni("Setup", "AfterSetBold"), "0");
    EXPECT_EQ(readPluginIni("Setup", "AutoReceive"), "1");
}

TEST_F(OtherSettingsDialogTest, KeysDoNothingCancelAndCloseWriteNothingAnUnchangedUrlIsNotFetched)
{
    // The longest URL the INI file yields: 511 bytes.
    const std::string longUrl = "http://127.0.0.1:1/" + std::string(491, 'x') + "/";
    StartWith("URL=" + longUrl + "\r\nAfterSetBold=1\r\n");
    const std::optional<std::string> before = pluginIniBytes();
    bool openAfterKeys = false;
    std::string shownUrl;
    EXPECT_EQ(RunDialog([&](const DialogDriver& dialog) {
                  shownUrl = dialog.text(IDC_CLASSIFIER_URL);
                  dialog.setText(IDC_CLASSIFIER_URL, classifier.baseUrl());
                  dialog.setTicked(IDC_AUTO_RECEIVE, true);
                  dialog.pressKey(VK_ESCAPE, IDC_CLASSIFIER_URL);
                  dialog.pressKey(VK_RETURN, IDC_CLASSIFIER_URL);
                  dialog.pressKey(VK_ESCAPE, IDC_OK_BUTTON);
                  dialog.settle();
                  openAfterKeys = dialog.open();
                  dialog.click(IDC_CANCEL_BUTTON);
              }),
              IDC_CANCEL_BUTTON);
    EXPECT_TRUE(openAfterKeys) << "Enter and Escape end nothing";
    EXPECT_EQ(shownUrl, longUrl);
    EXPECT_EQ(RunDialog([](const DialogDriver& dialog) {
                  dialog.setTicked(IDC_CHECK_CONNECT, true);
                  dialog.closeBox();
              }),
              0);
    EXPECT_EQ(pluginIniBytes(), before) << "Cancel and the close box write nothing";

    EXPECT_EQ(RunDialog([](const DialogDriver& dialog) { dialog.click(IDC_OK_BUTTON); }), IDC_OK_BUTTON);
    EXPECT_TRUE(classifier.requests().empty()) << "an unchanged URL is not tested";
    EXPECT_EQ(readPluginIni("Setup", "URL"), longUrl);
    EXPECT_EQ(readPluginIni("Setup", "AfterSetBold"), "1");
    EXPECT_EQ(readPluginIni("Setup", "Beep"), "0");
}

}  // namespace
