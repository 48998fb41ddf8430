// long_day.exe: a long day of the plug-in in one process, to see what it keeps. The program
// is the mail client's stand-in (it links the replacement host and exports its services),
// loads the real plug-in from Plugins\tarnwick.dll in its program folder and talks to the
// stand-in classifier as POPFile.
//
//   long_day.exe [rounds]
//
// A day is ten rounds, each a tenth of the day's work: two retrievals of 1,000 messages, 200
// openings of the folder menu, 20 messages corrected one by one and 20 in one run behind
// the progress box, and five openings of every window a user opens and closes: the
// about box, the sorting-rule list with its edit dialog, the header-rule list with its edit
// dialog, the other settings, the start-up wait box, the progress box, the notification window
// (shown, then dismissed), the summary's box, "振り分けの理由" and the toolbar's popup. At the
// end of a round the user has opened every folder and emptied it. A shorter day (rounds < 10,
// for the emulated 32-bit run) says so.
//
// After every round it prints the process's GDI and USER objects, kernel handles and private
// bytes (process_resources_win.h says how each is counted), and last
//   long day: GDI +a, USER +b, handles +c, private bytes +d KB
// the growth from the first round, which warms every path up, to the last. Modal boxes are
// driven from a second thread as a user would (DialogDriver, DialogWatcher); a step that does
// not see what it waits for is reported and makes the exit status 1.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "base/resource_ids.h"
#include "dialog_driver_win.h"
#include "dialog_watcher_win.h"
#include "driven_run_win.h"
#include "process_resources_win.h"
#include "replacement_host_win.h"
#include "stand_in_classifier_win.h"
#include "toolbar_popup_run_win.h"
#include "ui/classifier_wait_box_win.h"

namespace {

constexpr int kRoundsInADay = 10;
constexpr int kRetrievalsPerRound = 2;
constexpr int kMessagesPerRetrieval = 1000;
constexpr int kMenuOpeningsPerRound = 200;
constexpr int kSingleCorrectionsPerRound = 20;
constexpr int kProgressRunsPerRound = 1;
constexpr int kMessagesPerProgressRun = 20;
constexpr int kOpeningsPerRound = 5;  // of every window: 50 a day

constexpr const char* kAccount = "acct";
constexpr const char* kSummaryCaption = "Tarnwickメール振り分け";
constexpr const char* kSortListCaption = "Tarnwick 振り分け設定";
constexpr const char* kNotificationClass = "TARNWICK_MESSAGE_WINDOW";

// The kinds of message a retrieval brings, in turn: each takes another way through the
// rules below. Kinds 3 and 6 stay in the inbox with a bucket; they are the ones corrected.
std::string MessageOfKind(int kind, int view, const std::string& base)
{
    static const char* const kHeads[] = {
        "From: shop@example.com\r\nSubject: sale\r\nX-Text-Classification: spam",
        "From: taro (Taro Tanaka)\r\nSubject: 会議の件\r\nX-Text-Classification: work",
        "From: news@example.jp\r\nSubject: =?UTF-8?B?5Lu25ZCN?=\r\nX-Text-Classification: news",
        "From: friend@example.jp\r\nSubject: [unclassified] 旅行\r\nX-Text-Classification: personal",
        "From: someone@example.jp\r\nSubject: no classifier",
        "From: boss@example.jp\r\nSubject: report\r\nX-Text-Classification: spam",
        "From: =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= <t@example.jp>\r\nSubject: 写真\r\n"
        "X-Text-Classification: personal",
        "From: list@example.org\r\nSubject: digest\r\nX-Text-Classification: unclassified",
    };
    return std::string(kHeads[kind % 8]) + "\r\nX-POPFile-Link: " + base +
           "jump_to_message?view=" + std::to_string(view) + "\r\n\r\n本文の一行目\r\nsecond line\r\n";
}

bool CorrectableKind(std::size_t index)
{
    return index % 8 == 3 || index % 8 == 6;
}

class LongDay {
public:
    LongDay() { host_.setCommandNumbersReused(true); }

    // The account, the plug-in's rules and its start, with the start-up wait: the classifier's
    // POP3 port refuses connections until the wait box shows.
    bool start()
    {
        const int pop3Port = classifier_.reservePop3Port();
        classifier_.setBuckets({"spam", "work", "news", "personal"});
        // POPFile answers a correction with its history page, whose links carry the key.
        classifier_.setPage("/history", classifier_.generatedStartPage());
        host_.mailbox().addAccount(kAccount, AccountSettings{"私の口座", "1", "127.0.0.1",
                                                              std::to_string(pop3Port)});
        work_ = host_.mailbox().addFolder(kAccount, "仕事");
        news_ = host_.mailbox().addFolder(kAccount, "ニュース");
        CreateDirectories(host_.programFolder() + "Plugins");
        WriteFileBytes(host_.pluginIniPath(),
                       "[Setup]\r\nCheckConnect=1\r\nAfterSetBold=1\r\nSubjectEdit=1\r\n"
                       "FromLength=40\r\nURL=" + classifier_.baseUrl() + "\r\n"
                       "[MoveMail]\r\nspam=ごみ箱\r\nwork=仕事\r\nnews=ニュース\r\npersonal=郵便受け\r\n"
                       "[Action]\r\nspam=0,1,0\r\nwork=1,0,0\r\nnews=2,0,1\r\npersonal=1,0,0\r\n"
                       "[Mark]\r\nspam=7\r\nwork=3\r\nnews=2\r\n"
                       "[AdditionalHeader]\r\n1=work:From:::boss@\r\n");
        if (!classifier_.running() || pop3Port == 0 || !host_.loadPlugin()) {
            return false;
        }
        host_.startUp();
        host_.openFolder(inbox());
        check(RunDriven([&] { host_.createFolderWindow(); return 0; },
                        [&](DialogDriver& driver) {
                            HWND box = driver.waitForDialog("Tarnwick", IDC_CANCEL_BUTTON);
                            classifier_.listenOnPop3Port();
                            driver.waitUntilClosed(box);
                        }),
              "the start-up wait");
        return true;
    }

    void runRound()
    {
        received_ = menus_ = corrected_ = windows_ = 0;
        for (int i = 0; i < kRetrievalsPerRound; ++i) {
            retrieve(kMessagesPerRetrieval, false);
        }
        for (int i = 0; i < kMenuOpeningsPerRound; ++i) {
            openFolderMenu(i % 2 == 0 ? 1 : 3);
        }
        for (int i = 0; i < kSingleCorrectionsPerRound; ++i) {
            correctOne();
        }
        for (int i = 0; i < kProgressRunsPerRound; ++i) {
            correctInProgressRun();
        }
        for (int i = 0; i < kOpeningsPerRound; ++i) {
            openEveryDialogOnce(i);
        }
        endOfRound();
    }

    int failures() const { return failures_; }

    // What the last round did, as the host and the stand-in classifier saw it.
    std::string roundReport() const
    {
        return std::to_string(received_) + " messages received, " + std::to_string(menus_) +
               " folder menus, " + std::to_string(corrected_) + " messages corrected (" +
               std::to_string(posts_) + " notices posted, " + std::to_string(keyFetches_) +
               " key fetches), " + std::to_string(windows_) + " windows opened and closed";
    }

private:
    std::string inbox() const { return Mailbox::inbox(kAccount); }

    void fail(const std::string& what)
    {
        ++failures_;
        std::printf("step failed: %s\n", SjisToUtf8(what).c_str());
        std::fflush(stdout);
    }

    // A window the user opened and closed, driven from a second thread.
    void check(const DrivenRun& run, const std::string& what)
    {
        if (!run.failure.empty()) {
            fail(what + ": " + run.failure);
        }
        ++windows_;
    }

    // A retrieval; the messages the rules keep in the inbox with a bucket are kept for the
    // menus and corrections. With AutoReceive off the summary's box shows and is answered.
    void retrieve(int count, bool notification)
    {
        std::vector<std::string> messages;
        for (int i = 0; i < count; ++i) {
            messages.push_back(MessageOfKind(i, ++view_, classifier_.baseUrl()));
        }
        std::vector<RetrievedMessage> retrieved;
        if (notification) {
            retrieved = host_.retrieve(kAccount, messages);
        } else {
            DialogWatcher summary(kSummaryCaption, "OK", 60000);
            retrieved = host_.retrieve(kAccount, messages);
            if (!summary.waitFor(1)) {
                fail("the summary's box after a retrieval");
            }
            ++windows_;
        }
        received_ += static_cast<int>(retrieved.size());
        for (std::size_t index = 0; index < retrieved.size(); ++index) {
            if (CorrectableKind(index) && host_.mailbox().messageExists(retrieved[index].reference)) {
                correctable_.push_back(retrieved[index].reference);
            }
        }
        host_.forgetHistory();
    }

    // The next n messages that can be corrected; fewer when the inbox has run out.
    std::vector<std::string> takeCorrectable(std::size_t n)
    {
        std::vector<std::string> taken;
        while (taken.size() < n && !correctable_.empty()) {
            taken.push_back(correctable_.back());
            correctable_.pop_back();
        }
        return taken;
    }

    void select(const std::vector<std::string>& mails)
    {
        host_.setSelection(mails);
    }

    // The folder menu for n selected messages, built and thrown away as the client does when
    // the user closes it without a choice.
    void openFolderMenu(std::size_t n)
    {
        const std::size_t count = std::min(n, correctable_.size());
        select(std::vector<std::string>(correctable_.end() - static_cast<std::ptrdiff_t>(count),
                                        correctable_.end()));
        const BuiltMenu menu = host_.folderMenu(102);
        if (!menu.find("POPFileを開く")) {
            fail("the folder menu without the plug-in's items");
        }
        ++menus_;
        host_.forgetHistory();
    }

    void correctOne()
    {
        const std::vector<std::string> mail = takeCorrectable(1);
        if (mail.empty()) {
            return fail("no message left to correct");
        }
        select(mail);
        const BuiltMenu menu = host_.folderMenu(102);
        if (!host_.chooseMenuItem(menu, "work") || host_.mailbox().messageExists(mail[0])) {
            fail("a correction to work");
        }
        ++corrected_;
        host_.forgetHistory();
    }

    void correctInProgressRun()
    {
        const std::vector<std::string> mails = takeCorrectable(kMessagesPerProgressRun);
        select(mails);
        const BuiltMenu menu = host_.folderMenu(102);
        if (!host_.chooseMenuItem(menu, "news")) {
            fail("the progress box's run");
        }
        for (const std::string& mail : mails) {
            if (host_.mailbox().messageExists(mail)) {
                fail("a message left behind by the progress box");
            }
        }
        corrected_ += static_cast<int>(mails.size());
        ++windows_;
        host_.forgetHistory();
    }

    // Every window once; the other settings toggle AutoReceive around the notification window
    // and the summary's box, which follow from it.
    void openEveryDialogOnce(int turn)
    {
        aboutBox();
        sortRuleListAndEdit();
        headerRuleListAndEdit();
        waitBox();
        whyHere();
        toolbarPopup();
        otherSettings(true);
        notificationWindow(turn % 2 == 0);
        otherSettings(false);
        summaryBox();
        host_.forgetHistory();
    }

    void aboutBox()
    {
        check(RunDriven([&] { return host_.plugin().entry().APCVersionInfo(host_.frame()); },
                        [](DialogDriver& driver) {
                            driver.closeWith(driver.waitForDialog("ﾊﾞｰｼﾞｮﾝ情報(tarnwick)", IDOK), IDOK);
                        }),
              "the about box");
    }

    DrivenRun settings(const std::function<void(DialogDriver&, HWND list)>& inList)
    {
        return RunDriven([&] { return host_.plugin().entry().APCSetup(host_.frame()); },
                         [&](DialogDriver& driver) {
                             HWND list = driver.waitForDialog(kSortListCaption, IDC_SORT_RULE_LIST);
                             inList(driver, list);
                             driver.closeWith(list, IDCANCEL);
                         });
    }

    void sortRuleListAndEdit()
    {
        check(settings([](DialogDriver& driver, HWND list) {
                  driver.selectListRow(list, IDC_SORT_RULE_LIST, 0);
                  driver.press(list, IDC_SORT_RULE_EDIT);
                  driver.closeWith(driver.waitForDialog("振り分け設定", IDC_RULE_MARK), IDCANCEL);
              }),
              "the sorting-rule list and edit dialog");
    }

    void headerRuleListAndEdit()
    {
        check(settings([](DialogDriver& driver, HWND list) {
                  driver.press(list, IDC_OPEN_HEADER_RULES);
                  HWND headers = driver.waitForDialog("Tarnwick 追加ヘッダ", IDC_HEADER_RULE_LIST);
                  driver.selectListRow(headers, IDC_HEADER_RULE_LIST, 0);
                  driver.press(headers, IDC_HEADER_RULE_EDIT);
                  driver.closeWith(driver.waitForDialog("ヘッダ定義", IDC_HEADER_RULE_HEADER), IDCANCEL);
                  driver.closeWith(headers, IDCANCEL);
              }),
              "the header-rule list and edit dialog");
    }

    // AutoReceive ticked or not, then "Ｏ　Ｋ".
    void otherSettings(bool autoReceive)
    {
        check(settings([autoReceive](DialogDriver& driver, HWND list) {
                  driver.press(list, IDC_OPEN_OTHER_SETTINGS);
                  HWND dialog = driver.waitForDialog("Tarnwick その他設定", IDC_OK_BUTTON);
                  driver.setChecked(dialog, IDC_AUTO_RECEIVE, autoReceive);
                  driver.closeWith(dialog, IDC_OK_BUTTON);
              }),
              "the other settings");
    }

    // The plug-in shows the start-up wait once per run; its box is opened here the way the
    // plug-in opens it, from the plug-in's own module, and cancelled.
    void waitBox()
    {
        HINSTANCE module = host_.plugin().module();
        check(RunDriven([module] { return static_cast<int>(RunClassifierWaitBox(module)); },
                        [](DialogDriver& driver) {
                            driver.closeWith(driver.waitForDialog("Tarnwick", IDC_CANCEL_BUTTON),
                                             IDC_CANCEL_BUTTON);
                        }),
              "the start-up wait box");
    }

    void whyHere()
    {
        if (correctable_.empty()) {
            return fail("no message left to explain");
        }
        select(std::vector<std::string>(correctable_.end() - 1, correctable_.end()));
        const BuiltMenu menu = host_.folderMenu(102);
        check(RunDriven([&] { return host_.chooseMenuItem(menu, "振り分けの理由") ? 1 : 0; },
                        [](DialogDriver& driver) {
                            HWND box = driver.waitForDialog("Tarnwick 振り分けの理由", IDC_WHY_HERE_TEXT);
                            driver.pressKey(box, VK_ESCAPE);
                            driver.waitUntilClosed(box);
                        }),
              "振り分けの理由");
    }

    void toolbarPopup()
    {
        const std::vector<int> buttons = host_.toolbarCommands();
        if (buttons.empty()) {
            return fail("the toolbar without the plug-in's button");
        }
        check(RunToolbarPopup(host_, buttons.back(),
                              [](DialogDriver&, HWND menu) { DismissShownPopupMenu(menu); }),
              "the toolbar's popup");
    }

    // Two messages for the notification window (AutoReceive is on), which is then dismissed
    // with Escape or a click in the folder window.
    void notificationWindow(bool escape)
    {
        retrieve(2, true);
        HWND window = FindWindowA(kNotificationClass, nullptr);
        if (window == nullptr || !IsWindowVisible(window)) {
            return fail("the notification window did not show");
        }
        if (escape) {
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
            host_.clickChild(host_.folderTree());
        }
        for (int i = 0; i < 250 && IsWindowVisible(window); ++i) {
            host_.pumpMessagesFor(20);
        }
        if (IsWindowVisible(window)) {
            fail("the notification window stayed");
        }
        ++windows_;
    }

    void summaryBox()
    {
        retrieve(2, false);
    }

    // The user opens every folder (their bold ends) and empties them all.
    void endOfRound()
    {
        Mailbox& mailbox = host_.mailbox();
        for (const std::string& folder : {work_, news_, Mailbox::trash(kAccount), inbox()}) {
            host_.openFolder(folder);
            for (const std::string& mail : mailbox.messagesIn(folder)) {
                host_.APADeleteMail(mail.c_str());
            }
        }
        correctable_.clear();
        host_.setSelection({});
        host_.forgetHistory();
        posts_ = static_cast<int>(classifier_.corrections().size());
        keyFetches_ = static_cast<int>(classifier_.requestsTo("/").size());
        classifier_.forgetRequests();
    }

    StandInClassifier classifier_;
    ReplacementHost host_;
    std::string work_;
    std::string news_;
    std::vector<std::string> correctable_;
    int view_ = 0;
    int failures_ = 0;
    int received_ = 0;
    int menus_ = 0;
    int corrected_ = 0;
    int posts_ = 0;
    int keyFetches_ = 0;
    int windows_ = 0;
};

// Lets every thread a round started end and every message be handled before counting.
void Settle()
{
    for (int i = 0; i < 10; ++i) {
        ReplacementHost::active()->pumpMessagesFor(50);
    }
}

void PrintResources(const char* when, const ProcessResources& resources)
{
    std::printf("%s: GDI %lld, USER %lld, handles %lld, private bytes %lld KB\n", when,
                resources.gdiObjects, resources.userObjects, resources.kernelHandles,
                resources.privateKilobytes);
    std::fflush(stdout);
}

std::string Growth(long long first, long long last)
{
    if (first < 0 || last < 0) {
        return "not counted";
    }
    const long long growth = last - first;
    return (growth >= 0 ? "+" : "") + std::to_string(growth);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : kRoundsInADay;
    if (rounds < 2) {
        std::printf("usage: long_day.exe [rounds, at least 2; a day is %d]\n", kRoundsInADay);
        return 2;
    }
    LongDay day;
    if (!day.start()) {
        std::printf("The plug-in or the stand-in classifier did not start.\n");
        return 1;
    }
    const ResourceCounting counting;
    for (const std::string& line : counting.description()) {
        std::printf("counted: %s\n", line.c_str());
    }
    if (rounds < kRoundsInADay) {
        std::printf("a shorter day: %d of its %d rounds\n", rounds, kRoundsInADay);
    }
    ProcessResources first;
    ProcessResources last;
    for (int round = 1; round <= rounds; ++round) {
        const ULONGLONG started = GetTickCount64();
        day.runRound();
        Settle();
        last = counting.measure();
        if (round == 1) {
            first = last;
        }
        const std::string when = "after round " + std::to_string(round) + " (" +
                                 std::to_string((GetTickCount64() - started) / 1000) + " s)";
        std::printf("round %d: %s\n", round, day.roundReport().c_str());
        PrintResources(when.c_str(), last);
    }
    if (day.failures() > 0) {
        std::printf("%d steps failed\n", day.failures());
    }
    std::printf("long day: GDI %s, USER %s, handles %s, private bytes %s KB\n",
                Growth(first.gdiObjects, last.gdiObjects).c_str(),
                Growth(first.userObjects, last.userObjects).c_str(),
                Growth(first.kernelHandles, last.kernelHandles).c_str(),
                Growth(first.privateKilobytes, last.privateKilobytes).c_str());
    std::fflush(stdout);
    return day.failures() > 0 ? 1 : 0;
}
