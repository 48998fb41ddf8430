// Receiving and correcting a message while every host service and file operation fails in
// turn, one per run: the first call, the second, ... until a run has no call left to fail.
// After every run the message must still be where the host expects it, byte-identical or
// completely rewritten, once, and no temporary file may be left behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>

#include "base/platform.h"
#include "plugin/correct_mail.h"
#include "plugin/plugin_state.h"
#include "doubles/code_page_converter_fake.h"
#include "doubles/fault_plan.h"
#include "doubles/folder_bold_marker_fake.h"
#include "doubles/host_mailbox_fake.h"
#include "plugin/receive_filter.h"

namespace {

constexpr const char* kUrl = "http://127.0.0.1:8080/";
// Larger than the mail stream's first read, so that a message is read in several blocks.
const std::string kBody = [] {
    std::string body;
    for (int line = 0; body.size() < 20000; ++line) {
        body += "body line " + std::to_string(line) + " of the received message\r\n";
    }
    return body;
}();
const std::string kMessage = "From: sender@example.jp\r\n"
                             "Subject: [unclassified] Hello\r\n"
                             "X-Text-Classification: spam\r\n"
                             "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=17\r\n"
                             "\r\n" + kBody;

// Everything one run works on, fresh for every run.
struct World {
    HostMailboxFake host;
    FaultingProfileStoreFake profile;
    FaultingFileSystemFake files;
    CodePageConverterFake codePage;
    Platform platform{profile, files, codePage};
    FaultingHttpClientFake http;
    PluginState state;
    CorrectionContext context{state, platform, http};
    FolderBoldMarkerFake folderTrees;
    std::string work = host.addFolder("仕事");
    std::string mail = host.addMessage(HostMailboxFake::inbox(), kMessage);
    int result = 0;  // what the receive filter returned

    World()
    {
        files.useRealTempFolder();
        state.host = host.api;
        profile.loadText(host.root() + HostMailboxFake::kAccountFile, "[Property]\nTitle=口座\n");
        state.settings.DispDialog = state.settings.DispFrom = state.settings.DispSubject = true;
        state.settings.AutoReceive = true;
        state.settings.AfterSetBold = true;
        state.sortRules = {Rule("work", "仕事", false)};
        state.settings.URL = kUrl;
        http.serve(kUrl, ReadDiskFile(TestDataPath("classifier/start_page.html")));
        http.serve(std::string(kUrl) + "history", "<html>history</html>");
    }

    static SortRule Rule(const std::string& bucket, const std::string& folder, bool duplicate)
    {
        SortRule rule;
        rule.bucket = bucket;
        rule.folder = folder;
        rule.action = kActionShowMessage;
        rule.deleteFromServer = true;
        rule.duplicateThenHostDeletes = duplicate;
        rule.mark = 3;
        return rule;
    }
};

struct Scenario {
    const char* name;
    std::function<void(World&)> prepare;
    std::function<void(World&)> act;
    // Where the message may be afterwards: its folder for the text it holds.
    std::function<bool(World&, const std::string& folder, bool rewritten)> allowed;
};

struct Campaign {
    int runs = 0;
    std::set<std::string> failedOperations;
};

// The message's text after an undisturbed run; the original for a flow that never rewrites.
std::string UndisturbedText(const Scenario& scenario)
{
    World world;
    scenario.prepare(world);
    scenario.act(world);
    const auto messages = world.host.messages();
    return messages.size() == 1 ? messages.begin()->second : std::string();
}

void CheckInvariant(World& world, const Scenario& scenario, const std::string& rewrittenText,
                    const std::string& failed)
{
    const auto messages = world.host.messages();
    for (const auto& [reference, text] : messages) {
        const bool whole = text == kMessage || text == rewrittenText;
        EXPECT_TRUE(whole) << reference << " holds " << text.size() << " bytes, neither the "
                           << kMessage.size() << " received nor the " << rewrittenText.size()
                           << " rewritten";
        EXPECT_TRUE(scenario.allowed(world, HostMailboxFake::folderOf(reference), text != kMessage))
            << reference;
    }
    // After an import the host may refuse to delete the original: a correction, which has
    // no way to have the host delete it, then leaves it twice, never lost.
    const bool twiceAllowed = failed == "APADeleteMail" && messages.size() == 2 &&
                              std::string(scenario.name).find("correct") != std::string::npos;
    EXPECT_TRUE(messages.size() == 1 || twiceAllowed) << messages.size() << " copies";
    // A temporary file can only stay when its own deletion was the call that failed.
    if (failed != "deleteFile") {
        EXPECT_TRUE(world.files.liveTempFiles().empty());
        EXPECT_TRUE(world.host.strayFiles().empty());
    }
}

Campaign FailEveryCallInTurn(const Scenario& scenario)
{
    const std::string rewrittenText = UndisturbedText(scenario);
    EXPECT_FALSE(rewrittenText.empty()) << scenario.name;
    Campaign campaign;
    // Far more calls than any of these flows makes; a flow that kept going would stop here.
    constexpr int kMostRuns = 1000;
    for (int failAt = 1; failAt <= kMostRuns; ++failAt) {
        World world;
        scenario.prepare(world);
        std::string failed;
        {
            FaultPlan plan(failAt);
            scenario.act(world);
            failed = plan.failedOperation();
        }
        ++campaign.runs;
        SCOPED_TRACE(std::string(scenario.name) + ": call " + std::to_string(failAt) + " (" +
                     (failed.empty() ? "none left" : failed) + ") fails");
        CheckInvariant(world, scenario, rewrittenText, failed);
        if (failed.empty()) {
            break;
        }
        campaign.failedOperations.insert(failed);
    }
    return campaign;
}

void Report(const Scenario& scenario, const Campaign& campaign)
{
    std::string operations;
    for (const std::string& operation : campaign.failedOperations) {
        operations += (operations.empty() ? "" : " ") + operation;
    }
    std::printf("[ measured ] fault injection, %s: %d runs, %d calls failed in turn, "
                "operations: %s\n",
                scenario.name, campaign.runs, campaign.runs - 1, operations.c_str());
}

// The receive filter's result as the host acts on it: bit 4 deletes the received copy.
void Receive(World& world)
{
    world.result = FilterReceivedMail(world.state, world.platform, world.folderTrees,
                                      world.host.pathOf(world.mail));
    if ((world.result & kResultHostDeletesCopy) != 0) {
        world.host.hostDeletes(world.mail);
    }
}

TEST(FaultInjectionTest, ReceivedMessageIsNeverLostNorLeftTwice)
{
    // The host expects the message in the rule's folder when the result says it was filed
    // (bit 1, which these rules ask for), else in the inbox.
    const Scenario scenarios[] = {
        {"receive and move into a folder",
         [](World& world) { world.state.sortRules.push_back(World::Rule("spam", "仕事", false)); },
         Receive,
         [](World& world, const std::string& folder, bool) {
             return folder == ((world.result & kResultDeleteFromServer) != 0 ? world.work
                                                                              : HostMailboxFake::inbox());
         }},
        {"receive as a copy the host replaces",
         [](World& world) { world.state.sortRules.push_back(World::Rule("spam", "郵便受け", true)); },
         Receive,
         [](World&, const std::string& folder, bool) { return folder == HostMailboxFake::inbox(); }},
    };
    for (const Scenario& scenario : scenarios) {
        const Campaign campaign = FailEveryCallInTurn(scenario);
        Report(scenario, campaign);
        EXPECT_GT(campaign.runs, 10) << scenario.name;
    }
}

// A rewritten message is in the new bucket's folder or, when the move failed, still in the
// inbox; one left as received is in the inbox.
bool CorrectedPlace(World& world, const std::string& folder, bool rewritten)
{
    return folder == HostMailboxFake::inbox() || (rewritten && folder == world.work);
}

void Correct(World& world)
{
    CorrectMail(world.context, world.host.pathOf(world.mail), "work");
}

TEST(FaultInjectionTest, CorrectedMessageIsNeverLostNorCutShort)
{
    const Scenario scenarios[] = {
        {"correct and move", [](World&) {}, Correct, CorrectedPlace},
        {"correct with subject edit",
         [](World& world) { world.state.settings.SubjectEdit = 1; }, Correct, CorrectedPlace},
        {"correct with subject edit, no classifier",
         [](World& world) {
             world.state.settings.SubjectEdit = 1;
             world.http.unserve(kUrl);
             world.http.unserve(std::string(kUrl) + "history");
         },
         Correct, CorrectedPlace},
    };
    for (const Scenario& scenario : scenarios) {
        const Campaign campaign = FailEveryCallInTurn(scenario);
        Report(scenario, campaign);
        EXPECT_GT(campaign.runs, 10) << scenario.name;
    }
}

}  // namespace
