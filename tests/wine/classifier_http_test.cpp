// The WinINet client and the Windows Sockets probe, in-process, against the stand-in
// classifier on 127.0.0.1.
#include <gtest/gtest.h>

#include "classifier/classifier_probe.h"
#include "classifier/classifier_probe_win.h"
#include "classifier/http_client_win.h"
#include "base/profile_store_win.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"

namespace {

// A loopback port on which nothing listens: bound once to learn a free number, then closed.
int ClosedLoopbackPort()
{
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    WSACleanup();
    return ntohs(address.sin_port);
}

class ClassifierHttpTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(classifier.running()); }

    StandInClassifier classifier;
    WinInetHttpClient http;
};

TEST_F(ClassifierHttpTest, FetchAppendsAPageReadInChunks)
{
    std::string page;
    for (int i = 0; page.size() < 2500; ++i) {
        page += "line " + std::to_string(i) + "\n";
    }
    page.resize(2500);
    classifier.setPage("/page", page);
    std::string out = "before:";
    EXPECT_EQ(http.FetchPage(classifier.baseUrl() + "page", out), 2500);
    EXPECT_EQ(out, "before:" + page);

    const auto requests = classifier.requestsTo("/page");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].header("User-Agent"), std::optional<std::string>("tarnwick"));
}

TEST_F(ClassifierHttpTest, NulBytesCutTheirChunkButCountAsRead)
{
    // Chunks are 1024 bytes: the NUL drops the rest of the first chunk only.
    std::string page = std::string(100, 'a') + '\0' + std::string(923, 'b') + std::string(10, 'c');
    classifier.setPage("/nul", page);
    std::string out;
    EXPECT_EQ(http.FetchPage(classifier.baseUrl() + "nul", out), 1034);
    EXPECT_EQ(out, std::string(100, 'a') + std::string(10, 'c'));
}

TEST_F(ClassifierHttpTest, TenMegabytePageIsReadUpToTheLimit)
{
    const std::string head = "<a href=\"/history?session=k\">";
    const std::string page = head + std::string(10 * 1024 * 1024, 'x');
    classifier.setPage("/huge", page);
    // The cut is checked here, not the deadline: 4 MB through Wine's WinINet take seconds
    // under emulation on a loaded machine.
    WinInetHttpClient patient(60 * 1000);
    std::string out;
    EXPECT_EQ(patient.FetchPage(classifier.baseUrl() + "huge", out),
              static_cast<int>(kResponseLimit));
    EXPECT_EQ(out, page.substr(0, kResponseLimit)) << "what the callers look for comes first";
}

TEST_F(ClassifierHttpTest, UnreachableServerGivesMinusOneAndLeavesTheOutput)
{
    std::string out = "unchanged";
    EXPECT_EQ(http.FetchPage("http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/", out),
              -1);
    EXPECT_EQ(out, "unchanged");
    std::string body = "a=1";
    EXPECT_EQ(http.PostForm("http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/history",
                            false, body),
              -1);
    EXPECT_EQ(body, "a=1");
}

TEST_F(ClassifierHttpTest, PostSendsTheBodyBytesToThePathAlone)
{
    const std::string body = "search=&session=k&reclassify_17=work&change=%BA%C6%CA%AC%CE%E0"
                             "&raw=\x83\x5c\xff";
    std::string sent = body;
    EXPECT_EQ(http.PostForm(classifier.baseUrl() + "history?session=q&x=1", false, sent), 0);
    EXPECT_EQ(sent, "");

    const auto requests = classifier.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].target, "/history");
    EXPECT_EQ(requests[0].body, body);
    EXPECT_EQ(requests[0].header("User-Agent"), std::optional<std::string>("tarnwick"));
    EXPECT_EQ(requests[0].header("Content-Type"), std::nullopt);
    EXPECT_EQ(requests[0].header("Content-Length"), std::optional<std::string>(std::to_string(body.size())));
}

TEST_F(ClassifierHttpTest, PostReadsTheResponseIntoTheBodyWhenAsked)
{
    classifier.setPage("/history", "done");
    std::string body = "a=1";
    EXPECT_EQ(http.PostForm(classifier.baseUrl() + "history", true, body), 4);
    EXPECT_EQ(body, "done");
}

// ---- The probe ------------------------------------------------------------------------

TEST_F(ClassifierHttpTest, ProbeReachesAListeningPortAndNotAClosedOne)
{
    WinsockPortProber prober;
    EXPECT_EQ(prober.ProbeClassifierPort("127.0.0.1", classifier.port()), 0);
    EXPECT_EQ(prober.ProbeClassifierPort("127.0.0.1", ClosedLoopbackPort()), -1);
    EXPECT_EQ(prober.ProbeClassifierPort("no-such-host.invalid", 110), -2);
}

class ClassifierProbeHostTest : public HostFixture {
protected:
    // A fresh probe for a new account in directory, shown in the frame.
    bool ReachableWith(const AccountSettings& settings, const std::string& directory = "acct")
    {
        probe = ClassifierProbeState();
        mailbox().addAccount(directory, settings);
        const HostApi services = hostServices();
        host().openFolder(Mailbox::inbox(directory));
        return IsClassifierReachable(probe, services, profile, prober, host().frame());
    }

    AccountSettings Account(const std::string& connect, const std::string& server,
                            const std::string& port)
    {
        return AccountSettings{"口座", connect, server, port};
    }

    StandInClassifier classifier;
    Win32ProfileStore profile;
    WinsockPortProber prober;
    ClassifierProbeState probe;
};

TEST_F(ClassifierProbeHostTest, ListeningPortIsReachableAndStaysSoWithoutWindow)
{
    EXPECT_TRUE(ReachableWith(Account("1", "127.0.0.1", std::to_string(classifier.port()))));
    EXPECT_TRUE(IsClassifierReachable(probe, hostServices(), profile, prober, nullptr));
}

TEST_F(ClassifierProbeHostTest, ClosedPortIsUnreachable)
{
    EXPECT_FALSE(ReachableWith(Account("1", "127.0.0.1", std::to_string(ClosedLoopbackPort()))));
    EXPECT_FALSE(IsClassifierReachable(probe, hostServices(), profile, prober, nullptr));
}

TEST_F(ClassifierProbeHostTest, NoCheckWhenConnectIsZeroPortMissingOrHostUnknown)
{
    const std::string closed = std::to_string(ClosedLoopbackPort());
    EXPECT_TRUE(ReachableWith(Account("0", "127.0.0.1", closed), "zero"));
    EXPECT_TRUE(ReachableWith(Account("1", "127.0.0.1", ""), "noport"));
    EXPECT_TRUE(ReachableWith(Account("1", "no-such-host.invalid", closed), "unknown"));
    // The same closed port is refused when the check is asked for.
    EXPECT_FALSE(ReachableWith(Account("1", "127.0.0.1", closed), "checked"));
}

}  // namespace
