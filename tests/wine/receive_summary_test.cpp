// The end of a retrieval as the user sees it in the replacement host: the summary's
// message box, read from the box itself while it is open, its waits and its re-entry.
#include "host_fixture.h"

#include <windows.h>

#include <functional>

#include "host/icon_alert_win.h"

namespace {

constexpr const char* kSummaryCaption = "Tarnwickメール振り分け";

BOOL CALLBACK FindStaticText(HWND child, LPARAM found)
{
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(child)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(child, text.data(), static_cast<int>(text.size()))));
    if (lstrcmpiA(name, "Static") != 0 || text.empty()) {
        return TRUE;
    }
    *reinterpret_cast<std::string*>(found) = text;
    return FALSE;
}

// Reads the summary's box on the UI thread, inside the box's own message loop: a thread
// timer started before the retrieval ticks in whatever loop runs; once the box of this
// process is there, its text and owner are read, whileOpen runs, and OK is pressed.
class SummaryBoxReader {
public:
    explicit SummaryBoxReader(std::function<void()> whileOpen = {}) : whileOpen_(std::move(whileOpen))
    {
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 20, Tick);
    }
    ~SummaryBoxReader() { KillTimer(nullptr, timer_); }

    // Pumps messages until the box was read and answered (true) or 10 s passed.
    bool wait(ReplacementHost& host)
    {
        for (int i = 0; i < 500 && !done_; ++i) {
            host.pumpMessagesFor(20);
        }
        return done_;
    }

    std::string text;
    HWND owner = nullptr;
    bool secondBox = false;  // another summary box was on screen after whileOpen

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        SummaryBoxReader* self = active_;
        HWND box = FindWindowOfThisProcess("#32770", kSummaryCaption);
        if (self->done_ || box == nullptr || !IsWindowVisible(box)) {
            return;
        }
        self->done_ = true;
        KillTimer(nullptr, self->timer_);
        EnumChildWindows(box, FindStaticText, reinterpret_cast<LPARAM>(&self->text));
        self->owner = GetWindow(box, GW_OWNER);
        if (self->whileOpen_) {
            self->whileOpen_();
        }
        for (HWND other = FindWindowExA(nullptr, nullptr, "#32770", kSummaryCaption); other != nullptr;
             other = FindWindowExA(nullptr, other, "#32770", kSummaryCaption)) {
            DWORD process = 0;
            GetWindowThreadProcessId(other, &process);
            self->secondBox |= other != box && process == GetCurrentProcessId() && IsWindowVisible(other);
        }
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }

    static inline SummaryBoxReader* active_ = nullptr;
    std::function<void()> whileOpen_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
};

std::string Message(const std::string& bucket, const std::string& from, const std::string& subject)
{
    std::vector<std::string> header;
    if (!from.empty()) {
        header.push_back("From: " + from);
    }
    if (!subject.empty()) {
        header.push_back("Subject: " + subject);
    }
    header.push_back("X-Text-Classification: " + bucket);
    return MailText(header, "body\r\n");
}

class ReceiveSummaryTest : public HostFixture {
protected:
    void start(int fromLength)
    {
        writePluginIni("[Setup]\r\nCheckConnect=0\r\nFromLength=" + std::to_string(fromLength) +
                       "\r\n[MoveMail]\r\nspam=ごみ箱\r\npersonal=郵便受け\r\nwork=仕事\r\nnews=仕事\r\n"
                       "[Action]\r\nspam=1,0,0\r\npersonal=1,0,0\r\nwork=0,0,0\r\nnews=2,0,0\r\n");
        ASSERT_TRUE(startPlugin());
        account = addAccount("acct", "Home");
        mailbox().addFolder(account, "仕事");
        host().openFolder(Mailbox::inbox(account));
    }

    std::string account;
};

TEST_F(ReceiveSummaryTest, BoxShowsOneBlockPerRuleWithShortenedDisplayForms)
{
    start(10);
    SummaryBoxReader box;
    host().retrieve(account, {
        Message("spam", "\"Tanaka Taro\" <tanaka@example.jp>", "Re: (お得な情報) 今だけ"),
        Message("personal", "=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= <test@example.jp>",
                "=?UTF-8?B?5pel5pys6Kqe44Gu5Lu25ZCN?="),
        Message("work", "boss@example.jp", "not counted"),
        Message("spam", "<only@example.jp>", ""),
        Message("news", "news@example.jp", "not counted"),
        Message("spam", "", "Subject only"),
    });
    ASSERT_TRUE(box.wait(host()));
    EXPECT_EQ(box.text,
              "[ごみ箱]へ 3 件移動しました\n"
              "  Tanaka Tar : お得な情報\n"
              "  only@examp\n"
              "  Subject on\n"
              "[personal]を 1 件受信しました\n"
              "  テスト : 日本語の件\n")
        << Utf8(box.text);
    // Wine's message box ignores MB_TOPMOST (measured: only MB_SYSTEMMODAL makes it
    // topmost), so that flag is not observable here.
    EXPECT_EQ(box.owner, host().frame());
}

TEST_F(ReceiveSummaryTest, WithoutALengthLimitEncodedWordsStayAsTheyCame)
{
    start(0);
    SummaryBoxReader box;
    host().retrieve(account, {
        Message("spam", "=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= <test@example.jp>", "taro (Taro Tanaka)"),
        Message("spam", "\"A rather long quoted name\" <a@example.jp>", "=?UTF-8?B?5Lu25ZCN?="),
    });
    ASSERT_TRUE(box.wait(host()));
    EXPECT_EQ(box.text,
              "[ごみ箱]へ 2 件移動しました\n"
              "  =?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= : Taro Tanaka\n"
              "  A rather long quoted name : =?UTF-8?B?5Lu25ZCN?=\n")
        << Utf8(box.text);
}

// A retrieval that ends while the box is still open: its summary runs from the box's loop
// and is dropped, so a second box never covers the first; the next summary starts afresh.
TEST_F(ReceiveSummaryTest, SummaryWhileTheBoxIsOpenIsDropped)
{
    start(0);
    SummaryBoxReader first([this] { host().retrieve(account, {Message("personal", "second@x", "")}); });
    host().retrieve(account, {Message("spam", "first@example.jp", "shown")});
    ASSERT_TRUE(first.wait(host()));
    EXPECT_EQ(first.text, "[ごみ箱]へ 1 件移動しました\n  first@example.jp : shown\n");
    EXPECT_FALSE(first.secondBox);

    SummaryBoxReader third;
    host().retrieve(account, {Message("spam", "third@example.jp", "next")});
    ASSERT_TRUE(third.wait(host()));
    EXPECT_EQ(third.text, "[ごみ箱]へ 1 件移動しました\n  third@example.jp : next\n");
}

// The host's work in phases, stepped by a thread timer that only a message loop runs:
// busy by APAIsBusy, then by its receive command grayed, then idle.
int hostPhase = 0;

void CALLBACK NextHostPhase(HWND, UINT, UINT_PTR timer, DWORD)
{
    ReplacementHost& host = *ReplacementHost::active();
    host.setBusy(false);
    host.setCommandGrayed(ReplacementHost::kReceiveCommand, hostPhase == 0);
    if (++hostPhase == 2) {
        KillTimer(nullptr, timer);
    }
}

TEST_F(ReceiveSummaryTest, BoxWaitsUntilTheHostIsIdleWhileItsMessagesAreHandled)
{
    start(0);
    host().setBusy(true);
    hostPhase = 0;
    SetTimer(nullptr, 0, 30, NextHostPhase);
    int phaseWhenShown = -1;
    SummaryBoxReader box([&phaseWhenShown] { phaseWhenShown = hostPhase; });
    host().retrieve(account, {Message("spam", "a@example.jp", "waited")});
    ASSERT_TRUE(box.wait(host()));
    EXPECT_EQ(phaseWhenShown, 2) << "the box came only after both phases";
    EXPECT_EQ(host().callsTo("APAIsBusy").front().result, "1");
    EXPECT_EQ(box.text, "[ごみ箱]へ 1 件移動しました\n  a@example.jp : waited\n");
}

// A host whose menu lacks command 32835 must not keep the summary waiting for ever.
TEST_F(ReceiveSummaryTest, HostWithoutTheReceiveCommandCountsAsIdle)
{
    start(0);
    host().setCommandGrayed(ReplacementHost::kReceiveCommand, true);
    EXPECT_EQ(HostReceiveCommandState(host().frame()).value_or(0) & MF_GRAYED, MF_GRAYED);
    host().removeMenuCommand(ReplacementHost::kReceiveCommand);
    EXPECT_EQ(HostReceiveCommandState(host().frame()), std::nullopt);
    EXPECT_FALSE(HostCommandActive(host().frame()));

    SummaryBoxReader box;
    host().retrieve(account, {Message("spam", "a@example.jp", "")});
    ASSERT_TRUE(box.wait(host()));
    EXPECT_EQ(box.text, "[ごみ箱]へ 1 件移動しました\n  a@example.jp\n");
}

}  // namespace
