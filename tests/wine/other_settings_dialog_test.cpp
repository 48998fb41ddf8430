// The other-settings dialog as the client reaches it: APCSetup, then the sorting-rule list's
// "その他" button; filled in and confirmed as a user would, with the stand-in classifier
// behind the URL tests.
#include <gtest/gtest.h>

#include <chrono>

#include "classifier/http_client_win.h"
#include "driven_run_win.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"
#include "base/resource_ids.h"

namespace {

constexpr const char* kCaption = "Tarnwick その他設定";

class OtherSettingsDialogTest : public HostFixture {
protected:
    void StartWith(const std::string& setupLines)
    {
        ASSERT_TRUE(classifier.running());
        writePluginIni("[Setup]\r\nCheckConnect=0\r\n" + setupLines);
        ASSERT_TRUE(startPlugin());
    }

    // APCSetup; in the sorting-rule list "その他", then user drives the other settings until
    // they are gone, and the list is cancelled.
    std::string RunOtherSettings(const std::function<void(DialogDriver&, HWND)>& user)
    {
        return RunDriven([&] { return plugin().APCSetup(host().frame()); }, [&](DialogDriver& driver) {
                   HWND list = driver.waitForDialog("Tarnwick 振り分け設定", IDC_OPEN_OTHER_SETTINGS);
                   driver.press(list, IDC_OPEN_OTHER_SETTINGS);
                   HWND dialog = driver.waitForDialog(kCaption, IDC_CANCEL_BUTTON);
                   owned = GetWindow(dialog, GW_OWNER) == list;
                   user(driver, dialog);
                   driver.waitUntilClosed(dialog);
                   driver.closeWith(list, IDCANCEL);
               }).failure;
    }

    // Presses "Ｏ　Ｋ" and answers the refusal that must follow; "(dialog ended)" is added
    // when the dialog did not stay open.
    static std::string ConfirmRefused(DialogDriver& driver, HWND dialog)
    {
        driver.press(dialog, IDC_OK_BUTTON);
        const std::string refusal = driver.answerMessageBox("Tarnwick", IDOK);
        driver.settle(dialog);
        return refusal + (IsWindowVisible(dialog) ? "" : " (dialog ended)");
    }

    StandInClassifier classifier;
    bool owned = false;
};

TEST_F(OtherSettingsDialogTest, NewUrlIsTestedAgainstTheClassifierBeforeAnythingIsStored)
{
    StartWith("SubjectEdit=1\r\nURL=http://127.0.0.1:1/\r\n");
    const std::string base = classifier.baseUrl();
    bool shownAsStored = false;
    std::vector<std::string> refusals;
    std::vector<std::size_t> requests;
    std::string urlWhileOpen;
    EXPECT_EQ(RunOtherSettings([&](DialogDriver& driver, HWND dialog) {
                  shownAsStored = driver.text(dialog, IDC_CLASSIFIER_URL) == "http://127.0.0.1:1/" &&
                                  driver.isChecked(dialog, IDC_SUBJECT_EDIT) &&
                                  !driver.isChecked(dialog, IDC_CHECK_CONNECT) &&
                                  !driver.isChecked(dialog, IDC_AFTER_SET_BOLD) &&
                                  !driver.isChecked(dialog, IDC_AUTO_RECEIVE);
                  driver.setText(dialog, IDC_CLASSIFIER_URL,
                                 "HTTP://127.0.0.1:" + std::to_string(classifier.port()) + "/");
                  refusals.push_back(ConfirmRefused(driver, dialog));
                  requests.push_back(classifier.requests().size());
                  driver.setText(dialog, IDC_CLASSIFIER_URL, base + "elsewhere/");
                  refusals.push_back(ConfirmRefused(driver, dialog));
                  requests.push_back(classifier.requests().size());
                  urlWhileOpen = readPluginIni("Setup", "URL");

                  driver.setText(dialog, IDC_CLASSIFIER_URL, base.substr(0, base.size() - 1));
                  driver.setChecked(dialog, IDC_SUBJECT_EDIT, false);
                  driver.setChecked(dialog, IDC_CHECK_CONNECT, true);
                  driver.setChecked(dialog, IDC_AUTO_RECEIVE, true);
                  driver.press(dialog, IDC_OK_BUTTON);
              }),
              "");
    EXPECT_TRUE(owned) << "owned by the sorting-rule list";
    EXPECT_TRUE(shownAsStored);
    EXPECT_EQ(refusals, (std::vector<std::string>{"URL は、 http:// を入力してください",
                                                  "URL が正しくありません"}));
    EXPECT_EQ(requests, (std::vector<std::size_t>{0, 1})) << "a capital HTTP is not fetched";
    EXPECT_EQ(urlWhileOpen, "http://127.0.0.1:1/") << "nothing is written before the URL passed";
    const std::vector<StandInClassifier::Request> fetched = classifier.requests();
    ASSERT_GE(fetched.size(), 2u);
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
    EXPECT_EQ(RunOtherSettings([&](DialogDriver& driver, HWND dialog) {
                  shownUrl = driver.text(dialog, IDC_CLASSIFIER_URL);
                  driver.setText(dialog, IDC_CLASSIFIER_URL, classifier.baseUrl());
                  driver.setChecked(dialog, IDC_AUTO_RECEIVE, true);
                  driver.pressKey(dialog, VK_ESCAPE);
                  driver.pressKey(dialog, VK_RETURN);
                  driver.settle(dialog);
                  openAfterKeys = IsWindowVisible(dialog) != FALSE;
                  driver.press(dialog, IDC_CANCEL_BUTTON);
              }),
              "");
    EXPECT_TRUE(openAfterKeys) << "Enter and Escape end nothing";
    EXPECT_EQ(shownUrl, longUrl);
    EXPECT_EQ(RunOtherSettings([](DialogDriver& driver, HWND dialog) {
                  driver.setChecked(dialog, IDC_CHECK_CONNECT, true);
                  driver.closeFromCaption(dialog);
              }),
              "");
    EXPECT_EQ(pluginIniBytes(), before) << "Cancel and the close box write nothing";

    EXPECT_EQ(RunOtherSettings([](DialogDriver& driver, HWND dialog) {
                  driver.press(dialog, IDC_OK_BUTTON);
              }),
              "");
    EXPECT_TRUE(classifier.requests().empty()) << "an unchanged URL is not tested";
    EXPECT_EQ(readPluginIni("Setup", "URL"), longUrl);
    EXPECT_EQ(readPluginIni("Setup", "AfterSetBold"), "1");
    EXPECT_EQ(readPluginIni("Setup", "Beep"), "0");
}

// A classifier that takes the connection and never answers: the typed URL is refused as one
// that does not lead to the classifier, within the request deadline, and the dialog stays.
TEST_F(OtherSettingsDialogTest, HungClassifierBehindANewUrlIsRefusedInTime)
{
    StartWith("");
    classifier.setManner(StandInClassifier::Manner::NeverAnswers);
    std::string refusal;
    long long waitedMs = 0;
    EXPECT_EQ(RunOtherSettings([&](DialogDriver& driver, HWND dialog) {
                  driver.setText(dialog, IDC_CLASSIFIER_URL, classifier.baseUrl());
                  const auto pressed = std::chrono::steady_clock::now();
                  refusal = ConfirmRefused(driver, dialog);
                  waitedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - pressed)
                                 .count();
                  driver.press(dialog, IDC_CANCEL_BUTTON);
              }),
              "");
    classifier.releaseHeldConnections();
    EXPECT_EQ(refusal, "URL が正しくありません");
    // The deadline plus room for a loaded machine; a hang lasts minutes.
    EXPECT_LT(waitedMs, kRequestDeadlineMs + 4000);
    EXPECT_EQ(readPluginIni("Setup", "URL"), "");
}

}  // namespace
