// trust_tour.exe: the plug-in's answers to "can I trust it?", held on screen in the
// replacement host for the demo's screenshots.
//
//   trust_tour.exe
//
// Its handshake folder is "handshake" in its program folder. For every picture it writes
// "ready-<name>" there once the window is fully shown, waits (up to 60 s) for "shot-<name>",
// then ends it as a user would. The shell side (scripts/demo_trust.sh) answers each ready file
// with a screenshot. At the end it writes "done" and prints what it saw (Shift-JIS).
//
// The tour: the link self-test from the toolbar popup's "POPFileとの接続を確認", against the
// stand-in classifier, with a rule whose bucket differs from POPFile's only in letter case
// and a rule whose bucket POPFile lacks and whose folder the account lacks ("self-test");
// then "振り分けの理由" from the folder menu for a message POPFile put into "travel", which
// only the rule for "Travel" comes near ("why-here").
#include <cstdio>
#include <string>

#include "driven_run_win.h"
#include "toolbar_popup_run_win.h"
#include "host_menu_win.h"
#include "replacement_host_win.h"
#include "screenshot_handshake_win.h"
#include "stand_in_classifier_win.h"
#include "base/resource_ids.h"

namespace {

constexpr const char* kAccount = "popfile";
constexpr DWORD kReportWait = 30000;
constexpr int kFolderMenuId = 102;

// The report once it replaced "確認中…", or what the dialog still shows after kReportWait.
std::string WaitForReport(DialogDriver& driver, HWND dialog)
{
    const ULONGLONG deadline = GetTickCount64() + kReportWait;
    std::string text = driver.text(dialog, IDC_SELF_TEST_REPORT);
    while (text == "確認中…" && GetTickCount64() < deadline) {
        Sleep(50);
        text = driver.text(dialog, IDC_SELF_TEST_REPORT);
    }
    return text;
}

}  // namespace

int main()
{
    StandInClassifier classifier;
    classifier.setBuckets({"spam", "work", "travel", "personal"});
    const int pop3Port = classifier.reservePop3Port();
    classifier.listenOnPop3Port();
    ReplacementHost host;
    const std::string handshake = MakeHandshakeFolder(host.programFolder());
    host.mailbox().addAccount(kAccount, AccountSettings{"POPFile経由", "1", "127.0.0.1",
                                                         std::to_string(pop3Port)});
    host.mailbox().addFolder(kAccount, "仕事");
    host.mailbox().addFolder(host.mailbox().addGroup(kAccount, "趣味"), "旅行");
    CreateDirectories(host.programFolder() + "Plugins");
    // "Travel" differs from POPFile's "travel" in letter case; POPFile has no "archive", and
    // the account has no folder 保管.
    WriteFileBytes(host.pluginIniPath(),
                   "[Setup]\r\nCheckConnect=0\r\nURL=" + classifier.baseUrl() +
                       "\r\n[MoveMail]\r\nspam=ごみ箱\r\nwork=仕事\r\nTravel=趣味\\旅行\r\n"
                       "archive=保管\r\n[AdditionalHeader]\r\n1=spam:X-Spam-Flag:::YES\r\n");
    if (!host.loadPlugin()) {
        std::printf("The plug-in did not load.\n");
        return 1;
    }
    host.startUp();
    host.createFolderWindow();
    host.openFolder(Mailbox::inbox(kAccount));
    SetForegroundWindow(host.frame());
    const std::vector<int> buttons = host.toolbarCommands();
    if (buttons.size() < 4) {
        std::printf("The plug-in's button is missing.\n");
        EndHandshake(handshake);
        return 1;
    }

    // The toolbar button, its popup's "POPFileとの接続を確認", and the report.
    std::string report;
    const DrivenRun selfTest =
        RunToolbarPopup(host, buttons.back(), [&](DialogDriver& driver, HWND menu) {
            ChooseShownPopupMenuItem(menu, 2);
            HWND dialog = driver.waitForDialog("Tarnwick 接続テスト", IDC_SELF_TEST_REPORT);
            report = WaitForReport(driver, dialog);
            HoldForScreenshot(handshake, "self-test");
            driver.closeWith(dialog, IDCANCEL);
        });
    std::printf("link self-test: %s\n%s", selfTest.failure.empty() ? "shown" : selfTest.failure.c_str(),
                report.c_str());
    std::printf("requests the classifier received:");
    for (const StandInClassifier::Request& request : classifier.requests()) {
        std::printf(" %s %s", request.method.c_str(), request.target.c_str());
    }
    std::printf("\n");

    // "振り分けの理由" for a message in the inbox.
    const std::string mail = host.mailbox().addMessage(
        Mailbox::inbox(kAccount),
        "From: taro@example.jp\r\nSubject: photos\r\nX-Text-Classification: travel\r\n"
        "X-POPFile-Link: " + classifier.baseUrl() + "jump_to_message?view=42\r\n\r\nbody\r\n");
    host.setCurrentEntry(mail);
    host.setSelection({mail});
    BuiltMenu menu = host.folderMenu(kFolderMenuId);
    std::string explanation;
    const DrivenRun whyHere = RunDriven(
        [&] { return host.chooseMenuItem(menu, "振り分けの理由") ? 1 : 0; },
        [&](DialogDriver& driver) {
            HWND dialog = driver.waitForDialog("Tarnwick 振り分けの理由", IDC_WHY_HERE_TEXT);
            explanation = driver.text(dialog, IDC_WHY_HERE_TEXT);
            HoldForScreenshot(handshake, "why-here");
            driver.closeWith(dialog, IDCANCEL);
        });
    std::printf("why here: %s\n%s", whyHere.failure.empty() ? "shown" : whyHere.failure.c_str(),
                explanation.c_str());

    EndHandshake(handshake);
    std::fflush(stdout);
    return 0;
}
