#include "classifier/classifier_probe.h"

#include <gtest/gtest.h>

#include "doubles/host_services_fake.h"
#include "doubles/port_prober_fake.h"
#include "doubles/profile_store_fake.h"

namespace {

constexpr const char* kAccountFolder = "C:\\Corvane32\\Mail\\Account1\\";
constexpr const char* kAccountFile = "C:\\Corvane32\\Mail\\Account1\\account.ini";

class ClassifierProbeTest : public ::testing::Test {
protected:
    void SetUp() override { host.account = kAccountFolder; }

    void Account(const std::string& properties)
    {
        profile.loadText(kAccountFile, "[Property]\nTitle=Mail\n" + properties);
    }

    bool Reachable(HostWindow window)
    {
        return IsClassifierReachable(probe, host.api, profile, prober, window);
    }

    HostServicesFake host;
    ProfileStoreFake profile;
    PortProberFake prober;
    ClassifierProbeState probe;
    int frame = 0;
    HostWindow window = &frame;
};

TEST_F(ClassifierProbeTest, RefusedConnectionIsUnreachableAndAcceptedOneReachable)
{
    Account("Connect=1\nPOP3Server=127.0.0.1\nPOP3Port=110\n");
    prober.result = -1;
    EXPECT_FALSE(Reachable(window));
    prober.result = 0;
    EXPECT_TRUE(Reachable(nullptr));
    ASSERT_EQ(prober.probes.size(), 2u);
    EXPECT_EQ(prober.probes[1], (std::pair<std::string, int32_t>("127.0.0.1", 110)));
}

TEST_F(ClassifierProbeTest, SocketsUnusableOrUnknownServerCountAsReachable)
{
    Account("Connect=1\nPOP3Server=no-such-host.invalid\nPOP3Port=110\n");
    prober.result = -2;
    EXPECT_TRUE(Reachable(window));
    EXPECT_EQ(prober.probes.size(), 1u);
}

TEST_F(ClassifierProbeTest, ConnectZeroNeverProbes)
{
    Account("Connect=0\nPOP3Server=127.0.0.1\nPOP3Port=110\n");
    prober.result = -1;
    EXPECT_TRUE(Reachable(window));
    EXPECT_TRUE(Reachable(nullptr));
    EXPECT_TRUE(Reachable(window));
    EXPECT_TRUE(prober.probes.empty());
}

TEST_F(ClassifierProbeTest, ConnectIsItsLeadingDigitsOnly)
{
    prober.result = -1;
    for (const char* connect : {"Connect=-1\n", "Connect=+1\n", "Connect=x1\n"}) {
        probe = ClassifierProbeState();
        Account(std::string(connect) + "POP3Server=127.0.0.1\nPOP3Port=110\n");
        EXPECT_TRUE(Reachable(window)) << connect;
        EXPECT_TRUE(Reachable(nullptr)) << connect;
        EXPECT_EQ(probe.connectValue, 0) << connect;
    }
    EXPECT_TRUE(prober.probes.empty());
    probe = ClassifierProbeState();
    Account("Connect=2x\nPOP3Server=127.0.0.1\nPOP3Port=110\n");
    EXPECT_FALSE(Reachable(window));
    EXPECT_EQ(probe.connectValue, 2);
    EXPECT_EQ(prober.probes.size(), 1u);
}

TEST_F(ClassifierProbeTest, MissingZeroOrImpossiblePortNeedsNoCheck)
{
    prober.result = -1;
    for (const char* port : {"", "POP3Port=0\n", "POP3Port=-5\n", "POP3Port=65536\n",
                             "POP3Port=pop\n"}) {
        probe = ClassifierProbeState();
        Account(std::string("Connect=1\nPOP3Server=127.0.0.1\n") + port);
        EXPECT_TRUE(Reachable(window)) << port;
    }
    EXPECT_TRUE(prober.probes.empty());
}

TEST_F(ClassifierProbeTest, NoAccountOrNoAccountFileNeedsNoCheck)
{
    prober.result = -1;
    host.accountKnown = false;
    EXPECT_TRUE(Reachable(window));
    probe = ClassifierProbeState();
    host.accountKnown = true;
    EXPECT_TRUE(Reachable(window));  // no account.ini loaded
    EXPECT_TRUE(prober.probes.empty());
}

TEST_F(ClassifierProbeTest, ValuesAreReadOnceAndKept)
{
    Account("Connect=1\nPOP3Server=127.0.0.1\nPOP3Port=110\n");
    prober.result = -1;
    Reachable(window);
    Account("Connect=0\nPOP3Server=10.0.0.1\nPOP3Port=995\n");
    profile.clearCalls();
    EXPECT_FALSE(Reachable(nullptr));
    EXPECT_TRUE(profile.calls().empty());
    EXPECT_EQ(prober.probes.back(), (std::pair<std::string, int32_t>("127.0.0.1", 110)));
}

TEST_F(ClassifierProbeTest, PortReadAsZeroIsReadAgain)
{
    Account("Connect=1\nPOP3Server=127.0.0.1\n");
    prober.result = -1;
    EXPECT_TRUE(Reachable(window));
    Account("Connect=1\nPOP3Server=127.0.0.1\nPOP3Port=1110\n");
    EXPECT_FALSE(Reachable(nullptr));
    EXPECT_EQ(prober.probes.back().second, 1110);
}

TEST_F(ClassifierProbeTest, ServerTextIsCutToItsBuffer)
{
    Account("Connect=1\nPOP3Server=" + std::string(600, 'h') + "\nPOP3Port=110\n");
    Reachable(window);
    ASSERT_EQ(prober.probes.size(), 1u);
    EXPECT_EQ(prober.probes[0].first, std::string(511, 'h'));
}

}  // namespace
