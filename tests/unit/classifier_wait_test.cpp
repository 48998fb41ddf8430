#include "classifier/classifier_wait.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/plugin_state.h"
#include "doubles/host_services_fake.h"

namespace {

int TW_STDCALL ProbeTimer(HostWindow, intptr_t)
{
    return 1;
}

// Answers the reachability test from a list and records what the wait did, with the host
// calls made up to each step.
class ClassifierWaitFake : public ClassifierWaitUi {
public:
    explicit ClassifierWaitFake(const HostServicesFake& host) : host_(host) {}

    bool reachable(HostWindow window) override
    {
        events.push_back(window != nullptr ? "test with window" : "test without window");
        return answers.empty() ? true : answers[std::min(tests++, answers.size() - 1)];
    }

    int runWaitBox() override
    {
        events.push_back("box after " + std::to_string(host_.calls.size()) + " host calls");
        return 1004;
    }

    void closeWaitBox() override { events.push_back("close box"); }

    std::vector<bool> answers;
    std::size_t tests = 0;
    std::vector<std::string> events;

private:
    const HostServicesFake& host_;
};

class ClassifierWaitTest : public ::testing::Test {
protected:
    void SetUp() override { state.host = host.api; }

    HostServicesFake host;
    PluginState state;
    ClassifierWaitFake wait{host};
    int frame = 0;
};

TEST_F(ClassifierWaitTest, NothingIsTestedOrShownWhileNoWaitIsPending)
{
    EXPECT_FALSE(WaitForClassifierIfNeeded(state, wait, ProbeTimer, &frame));
    EXPECT_TRUE(wait.events.empty());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ClassifierWaitTest, AReachableClassifierLeavesTheWaitForTheNextWindow)
{
    state.classifierWaitPending = true;
    wait.answers = {true};
    EXPECT_FALSE(WaitForClassifierIfNeeded(state, wait, ProbeTimer, &frame));
    EXPECT_TRUE(state.classifierWaitPending);
    EXPECT_EQ(wait.events, std::vector<std::string>{"test with window"});
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ClassifierWaitTest, AnUnreachableClassifierShowsTheBoxOnceBetweenTimerStartAndStop)
{
    state.classifierWaitPending = true;
    wait.answers = {false};
    EXPECT_TRUE(WaitForClassifierIfNeeded(state, wait, ProbeTimer, &frame));
    EXPECT_FALSE(state.classifierWaitPending);
    EXPECT_EQ(wait.events, (std::vector<std::string>{"test with window", "box after 1 host calls"}));
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[0].service, "APASetTimer");
    EXPECT_EQ(host.calls[0].arguments, (std::vector<std::string>{"100", "0"}));
    EXPECT_EQ(host.calls[1].service, "APAKillTimer");
    EXPECT_EQ(host.calls[1].arguments, std::vector<std::string>{"1"}) << "the id the host gave";

    EXPECT_FALSE(WaitForClassifierIfNeeded(state, wait, ProbeTimer, &frame));
    EXPECT_EQ(wait.events.size(), 2u) << "later windows are never tested again";
}

TEST_F(ClassifierWaitTest, TheTimerKeepsTestingUntilTheClassifierAnswersThenClosesTheBox)
{
    wait.answers = {false, false, true};
    EXPECT_EQ(ClassifierWaitTimerStep(wait), 1);
    EXPECT_EQ(ClassifierWaitTimerStep(wait), 1);
    EXPECT_EQ(ClassifierWaitTimerStep(wait), 0);
    EXPECT_EQ(wait.events, (std::vector<std::string>{"test without window", "test without window",
                                                     "test without window", "close box"}));
}

}  // namespace
