// dialog_tour.exe: opens each of the plug-in's own small dialogs in the replacement host, one
// after the other, and holds each while a screenshot is taken.
//
//   dialog_tour.exe
//
// Its handshake folder is "handshake" in its program folder. For every dialog it writes
// "ready-<name>" there once the dialog is fully shown, waits (up to 60 s) for "shot-<name>",
// then ends the dialog as a user would. The shell side (scripts/demo_dialogs.sh) answers each
// ready file with a screenshot. At the end it writes "done" and prints what each dialog
// returned.
//
// The tour: the start-up wait box (closed by the stand-in classifier's POP3 port starting to
// listen), the about box, the other-settings dialog opened from the sorting-rule list's
// "その他" with its refusal of a capital "HTTP://", and the progress box correcting three
// selected messages (held at the second one).
#include <cstdio>
#include <string>

#include "driven_run_win.h"
#include "replacement_host_win.h"
#include "screenshot_handshake_win.h"
#include "stand_in_classifier_win.h"
#include "base/resource_ids.h"

namespace {

constexpr const char* kAccount = "popfile";

std::string Message(int view, const std::string& subject, const std::string& base)
{
    return "From: sender@example.jp\r\nSubject: " + subject +
           "\r\nX-Text-Classification: spam\r\nX-POPFile-Link: " + base +
           "jump_to_message?view=" + std::to_string(view) + "\r\n\r\nbody\r\n";
}

}  // namespace

int main()
{
    StandInClassifier classifier;
    const int pop3Port = classifier.reservePop3Port();
    ReplacementHost host;
    const std::string handshake = MakeHandshakeFolder(host.programFolder());
    host.mailbox().addAccount(kAccount, AccountSettings{"POPFile経由", "1", "127.0.0.1",
                                                         std::to_string(pop3Port)});
    const std::string inbox = Mailbox::inbox(kAccount);
    const std::string work = host.mailbox().addFolder(kAccount, "仕事");
    CreateDirectories(host.programFolder() + "Plugins");
    WriteFileBytes(host.pluginIniPath(),
                   "[Setup]\r\nCheckConnect=1\r\nAfterSetBold=1\r\nSubjectEdit=1\r\nURL=" +
                       classifier.baseUrl() +
                       "\r\n[MoveMail]\r\nwork=仕事\r\n[Action]\r\nwork=2,0,0\r\n[Mark]\r\nwork=3\r\n");
    if (!host.loadPlugin()) {
        std::printf("The plug-in did not load.\n");
        return 1;
    }
    host.startUp();
    host.openFolder(inbox);

    // 1. The start-up wait, until the classifier's POP3 port listens.
    const DrivenRun wait = RunDriven([&] { host.createFolderWindow(); return 0; }, [&](DialogDriver& driver) {
        HWND box = driver.waitForDialog("Tarnwick", IDC_CANCEL_BUTTON);
        HoldForScreenshot(handshake, "1-classifier-wait");
        classifier.listenOnPop3Port();
        driver.waitUntilClosed(box);
    });
    std::printf("wait box: %s\n", wait.failure.empty() ? "closed once the port listened" : wait.failure.c_str());

    // 2. The about box.
    const DrivenRun about = RunDriven([&] { return host.plugin().entry().APCVersionInfo(host.frame()); },
                                      [&](DialogDriver& driver) {
        HWND box = driver.waitForDialog("ﾊﾞｰｼﾞｮﾝ情報(tarnwick)", IDOK);
        HoldForScreenshot(handshake, "2-about");
        driver.closeWith(box, IDOK);
    });
    std::printf("about box: %d %s\n", about.result, about.failure.c_str());

    // 3. The other settings from the sorting-rule list's "その他", and a refusal.
    const DrivenRun settings = RunDriven([&] { return host.plugin().entry().APCSetup(host.frame()); },
                                         [&](DialogDriver& driver) {
        HWND list = driver.waitForDialog("Tarnwick 振り分け設定", IDC_OPEN_OTHER_SETTINGS);
        driver.press(list, IDC_OPEN_OTHER_SETTINGS);
        HWND dialog = driver.waitForDialog("Tarnwick その他設定", IDC_CANCEL_BUTTON);
        HoldForScreenshot(handshake, "3-other-settings");
        driver.setText(dialog, IDC_CLASSIFIER_URL, "HTTP://127.0.0.1:8080/");
        driver.press(dialog, IDC_OK_BUTTON);
        HWND refusal = driver.waitForDialog("Tarnwick", IDOK);
        HoldForScreenshot(handshake, "4-other-settings-refusal");
        driver.closeWith(refusal, IDOK);
        driver.closeWith(dialog, IDC_CANCEL_BUTTON);
        driver.closeWith(list, IDCANCEL);
    });
    std::printf("settings: %d %s\n", settings.result, settings.failure.c_str());

    // 4. The progress box, held while the second of three messages is corrected.
    std::vector<std::string> selected;
    for (int view = 1; view <= 3; ++view) {
        selected.push_back(host.mailbox().addMessage(
            inbox, Message(view, "[unclassified] mail " + std::to_string(view), classifier.baseUrl())));
    }
    host.setSelection(selected);
    BuiltMenu menu = host.folderMenu(102);
    int step = 0;
    host.setCallObserver([&](const HostCall& call) {
        if (call.service == "APASaveMail" && ++step == 2) {
            HoldForScreenshot(handshake, "5-reclassify-progress");
        }
    });
    host.chooseMenuItem(menu, "work");
    host.setCallObserver(nullptr);
    std::printf("progress box: %zu of %zu messages now in 仕事\n",
                host.mailbox().messagesIn(work).size(),
                selected.size());

    EndHandshake(handshake);
    std::fflush(stdout);
    return 0;
}
