#include "ui/reclassify_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "doubles/classifier_doubles.h"

namespace {

// The host's selection, as two walks over it see it: the second walk may differ from the
// first, as when the user changes the selection in between.
struct SelectionScript {
    std::vector<std::vector<std::string>> walks;
    std::size_t walksStarted = 0;
    std::size_t walk = 0;
    std::size_t next = 0;
    std::vector<int> firstFlags;  // the flag of every call
};
SelectionScript* script = nullptr;

const char* TW_STDCALL ScriptedSelectEntry(HostWindow, int first)
{
    script->firstFlags.push_back(first);
    if (first != 0) {
        script->walk = std::min(script->walksStarted++, script->walks.size() - 1);
        script->next = 0;
    }
    const std::vector<std::string>& entries = script->walks[script->walk];
    return script->next < entries.size() ? entries[script->next++].c_str() : nullptr;
}

class SelectedMailPathsTest : public ::testing::Test, protected ClassifierDoubles {
protected:
    void SetUp() override
    {
        script = &selection;
        host.mailbox = "C:\\Mail\\";
        host.api.APAFolderGetSelectEntry = ScriptedSelectEntry;
    }
    void TearDown() override { script = nullptr; }

    SelectionScript selection;
};

TEST_F(SelectedMailPathsTest, EachSelectedMessageBecomesItsFilePath)
{
    selection.walks = {{"acct\\inbox.box\\001", "acct\\inbox.box\\002", "acct\\user001.box\\003"}};
    const std::vector<std::string> expected = {"C:\\Mail\\acct\\inbox.box\\001.CRV",
                                               "C:\\Mail\\acct\\inbox.box\\002.CRV",
                                               "C:\\Mail\\acct\\user001.box\\003.CRV"};
    EXPECT_EQ(CollectSelectedMailPaths(host.api, nullptr), expected);
    // Counted to the end once, then walked again for exactly the three counted.
    EXPECT_EQ(selection.firstFlags, (std::vector<int>{1, 0, 0, 0, 1, 0, 0}));
}

TEST_F(SelectedMailPathsTest, ASelectionThatChangesBetweenTheWalksGivesNoMoreThanCounted)
{
    selection.walks = {{"a", "b", "c"}, {"a", "b"}};
    EXPECT_EQ(CollectSelectedMailPaths(host.api, nullptr),
              (std::vector<std::string>{"C:\\Mail\\a.CRV", "C:\\Mail\\b.CRV"}));

    selection = SelectionScript();
    selection.walks = {{"a", "b"}, {"x", "y", "z"}};
    EXPECT_EQ(CollectSelectedMailPaths(host.api, nullptr),
              (std::vector<std::string>{"C:\\Mail\\x.CRV", "C:\\Mail\\y.CRV"}));

    selection = SelectionScript();
    selection.walks = {{}};
    host.calls.clear();
    EXPECT_TRUE(CollectSelectedMailPaths(host.api, nullptr).empty());
    EXPECT_TRUE(host.callsTo("APAGetMailbox").empty()) << "no path is made for no selection";
}

TEST(ProgressCounterTextTest, ShowsTheNumberAndTheTotal)
{
    EXPECT_EQ(ProgressCounterText(1, 3), "POPFile訂正(1/3)");
    EXPECT_EQ(ProgressCounterText(INT_MIN, INT_MIN), "POPFile訂正(-2147483648/-2147483648)");
}

// ---- The command of a bucket item with several messages selected ------------------------

class SelectedMailCorrectionFake : public SelectedMailCorrection {
public:
    void correctSelectedMails(ClassifierContext&, HostWindow window, intptr_t bucketIndex) override
    {
        runs.push_back({window, bucketIndex});
    }
    std::vector<std::pair<HostWindow, intptr_t>> runs;
};

class SeveralMailsCommandTest : public ::testing::Test, protected ClassifierDoubles {
protected:
    void SetUp() override
    {
        state.host = host.api;
        state.reclassify.buckets = {"spam", "work"};
        state.reclassify.correctionMode = kCorrectSeveralInFolder;
        state.reclassify.currentMailPath = "C:\\Mail\\acct\\inbox.box\\001.CRV";
    }

    SelectedMailCorrectionFake boxes;
    int window = 0;
};

TEST_F(SeveralMailsCommandTest, RunsTheProgressBoxForTheWindowAndBucket)
{
    context.selectedMails = &boxes;
    ReclassifyCommand(context, &window, 1);
    ReclassifyCommand(context, &window, 2);  // no such bucket
    ASSERT_EQ(boxes.runs.size(), 1u);
    EXPECT_EQ(boxes.runs[0].first, &window);
    EXPECT_EQ(boxes.runs[0].second, 1);
    EXPECT_TRUE(host.calls.empty()) << "the current mail alone is not corrected";

    state.reclassify.correctionMode = kCorrectOneInFolder;
    ReclassifyCommand(context, &window, 1);
    EXPECT_EQ(boxes.runs.size(), 1u);
}

TEST_F(SeveralMailsCommandTest, WithoutAProgressBoxNothingHappens)
{
    ReclassifyCommand(context, &window, 1);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(http.requests().empty());
}

}  // namespace
