// A classifier that accepts the connection and then misbehaves: the folder menu, the
// correction and the typed-URL test each give up within the request deadline and go on as
// for an unreachable classifier, and the host's window is never held longer than that.
// Each test prints what it measured as "[ measured ] ..." lines.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "classifier/classifier_session.h"
#include "classifier/http_client.h"
#include "host_fixture.h"
#include "message_loop_watch_win.h"
#include "plugin/process_win.h"
#include "stand_in_classifier_win.h"

namespace {

using Manner = StandInClassifier::Manner;
using Clock = std::chrono::steady_clock;

constexpr const char* kTitle = "私の口座";
constexpr const char* kNoClassifierItem = "POPFileの情報が取得できません";
// The deadline plus room for a loaded machine: anything near the old minutes-long hang fails.
constexpr long long kGiveUpBoundMs = kRequestDeadlineMs + 4000;

const char* MannerName(Manner manner)
{
    switch (manner) {
    case Manner::NeverAnswers: return "never answers";
    case Manner::ByteASecond: return "sends one byte a second";
    case Manner::ClosesMidHeader: return "closes mid-header";
    case Manner::Redirects: return "redirects";
    case Manner::TenMegabytes: return "answers 10 MB";
    case Manner::Answers: break;
    }
    return "answers";
}

std::string TestNameOfManner(const ::testing::TestParamInfo<Manner>& info)
{
    switch (info.param) {
    case Manner::NeverAnswers: return "NeverAnswers";
    case Manner::ByteASecond: return "ByteASecond";
    case Manner::ClosesMidHeader: return "ClosesMidHeader";
    case Manner::Redirects: return "Redirects";
    case Manner::TenMegabytes: return "TenMegabytes";
    case Manner::Answers: break;
    }
    return "Answers";
}

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

void Report(Manner manner, const char* what, long long milliseconds)
{
    std::printf("[ measured ] classifier that %s: %s gave up after %lld ms\n", MannerName(manner),
                what, milliseconds);
}

class HostileClassifierTest : public HostFixture, public ::testing::WithParamInterface<Manner> {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(classifier.running());
        ASSERT_TRUE(elsewhere.running());
        classifier.setRedirectTarget(elsewhere.baseUrl());
        account = addAccount("acct", kTitle);
        inbox = Mailbox::inbox(account);
        work = mailbox().addFolder(account, "仕事");
        writePluginIni("[Setup]\r\nCheckConnect=0\r\nURL=" + classifier.baseUrl() +
                       "\r\n[MoveMail]\r\nwork=仕事\r\n");
        ASSERT_TRUE(startPlugin());
        host().openFolder(inbox);
        mail = mailbox().addMessage(
            inbox, MailText({"Subject: hello", "X-Text-Classification: spam",
                             "X-POPFile-Link: " + classifier.baseUrl() + "jump_to_message?view=17"},
                            "body\r\n"));
        host().setCurrentEntry(mail);
        host().setSelection({mail});
    }

    void TearDown() override
    {
        classifier.releaseHeldConnections();
        HostFixture::TearDown();
    }

    // The window's longest stall must stay within the bound too.
    void ExpectLoopKept(const MessageLoopWatch& watch)
    {
        std::printf("[ measured ] longest time the host's window did not answer: %lld ms\n",
                    watch.longestStallMs());
        EXPECT_LT(watch.longestStallMs(), kGiveUpBoundMs);
        DWORD_PTR ignored = 0;
        EXPECT_NE(SendMessageTimeoutA(host().frame(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored), 0);
    }

    StandInClassifier classifier;
    StandInClassifier elsewhere;  // where the redirect points; it must never be asked
    std::string account;
    std::string inbox;
    std::string work;
    std::string mail;
};

TEST_P(HostileClassifierTest, FolderMenuGivesUpAsForAnUnreachableClassifier)
{
    classifier.setManner(GetParam());
    MessageLoopWatch watch(host().frame());
    const auto start = Clock::now();
    BuiltMenu menu = host().folderMenu(102);
    const long long elapsed = MillisecondsSince(start);
    Report(GetParam(), "the folder menu", elapsed);

    EXPECT_TRUE(menu.find(kNoClassifierItem));
    EXPECT_FALSE(menu.find("work"));
    EXPECT_LT(elapsed, kGiveUpBoundMs);
    ExpectLoopKept(watch);
    EXPECT_TRUE(elsewhere.requests().empty()) << "a redirect is never followed";
}

TEST_P(HostileClassifierTest, CorrectionGivesUpOnTheClassifierButCorrectsTheMail)
{
    BuiltMenu menu = host().folderMenu(102);
    ASSERT_TRUE(menu.find("work"));
    classifier.setManner(GetParam());
    MessageLoopWatch watch(host().frame());
    const auto start = Clock::now();
    ASSERT_TRUE(host().chooseMenuItem(menu, "work"));
    const long long elapsed = MillisecondsSince(start);
    Report(GetParam(), "the correction", elapsed);

    EXPECT_LT(elapsed, kGiveUpBoundMs);
    ExpectLoopKept(watch);
    EXPECT_TRUE(classifier.corrections().empty());
    EXPECT_TRUE(elsewhere.requests().empty());
    const std::vector<std::string> filed = mailbox().messagesIn(work);
    ASSERT_EQ(filed.size(), 1u) << "the local correction does not need the classifier";
    EXPECT_NE(mailbox().readMessage(filed[0]).value_or("").find("X-Text-Classification: work\r\n"),
              std::string::npos);
}

TEST_P(HostileClassifierTest, UrlTestFindsNoSessionKeyInTime)
{
    classifier.setManner(GetParam());
    CorrectionContext context = ThePluginProcess().correction();
    MessageLoopWatch watch(host().frame());
    const auto start = Clock::now();
    const std::string key = FetchSessionKey(context.classifier, classifier.baseUrl());
    const long long elapsed = MillisecondsSince(start);
    Report(GetParam(), "the URL test", elapsed);

    EXPECT_EQ(key, "");
    EXPECT_LT(elapsed, kGiveUpBoundMs);
    EXPECT_TRUE(elsewhere.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(Manners, HostileClassifierTest,
                         ::testing::Values(Manner::NeverAnswers, Manner::ByteASecond,
                                           Manner::ClosesMidHeader, Manner::Redirects,
                                           Manner::TenMegabytes),
                         TestNameOfManner);

using HungClassifierTest = HostileClassifierTest;

// While a given-up request still hangs, the next request to the same classifier fails at
// once; once the classifier lets go, it is asked again.
TEST_F(HungClassifierTest, RequestsFailAtOnceWhileOneHangsAndResumeAfterwards)
{
    classifier.setManner(Manner::NeverAnswers);
    const auto first = Clock::now();
    BuiltMenu hung = host().folderMenu(102);
    const long long firstMs = MillisecondsSince(first);
    const auto second = Clock::now();
    BuiltMenu again = host().folderMenu(102);
    const long long secondMs = MillisecondsSince(second);
    std::printf("[ measured ] hung classifier: first menu %lld ms, second menu %lld ms\n", firstMs,
                secondMs);
    EXPECT_TRUE(again.find(kNoClassifierItem));
    EXPECT_LT(secondMs, 2000) << "no second wait while the first request hangs";
    EXPECT_EQ(classifier.requestsTo("/buckets").size(), 1u);

    classifier.setManner(Manner::Answers);
    classifier.releaseHeldConnections();
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    bool listed = false;
    while (!listed && Clock::now() < deadline) {
        host().pumpMessagesFor(100);
        listed = static_cast<bool>(host().folderMenu(102).find("work"));
    }
    EXPECT_TRUE(listed) << "the classifier is asked again once the hung request ended";
}

}  // namespace
