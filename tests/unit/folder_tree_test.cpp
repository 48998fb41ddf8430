#include "host/folder_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/folder_tree_fake.h"
#include "host/new_mail_tally.h"

namespace {

using Texts = std::vector<std::string>;

TEST(SplitFolderPathTest, SplitsAtEveryBackslashButTrailBytes)
{
    EXPECT_EQ(SplitFolderPath("X"), Texts{"X"});
    EXPECT_EQ(SplitFolderPath("X\\Y"), (Texts{"X", "Y"}));
    EXPECT_EQ(SplitFolderPath("A\\\\B"), (Texts{"A", "", "B"}));
    EXPECT_EQ(SplitFolderPath("\\"), (Texts{"", ""}));
    EXPECT_EQ(SplitFolderPath(""), Texts{""});
    // "ソ" and "表" end in the byte 0x5C, which is no separator.
    EXPECT_EQ(SplitFolderPath("ソフト\\表示"), (Texts{"ソフト", "表示"}));
}

// Below the account item: X (with Y), Z; the account item itself has the text "X" too, so a
// walk that compared it would go wrong.
class FolderTreeWalkTest : public ::testing::Test {
protected:
    FolderTreeWalkTest() : tree("X")
    {
        x = tree.add(tree.account(), "X");
        y = tree.add(x, "Y");
        z = tree.add(tree.account(), "Z");
    }

    FolderTreeFake tree;
    FolderTreeFake::Item* x;
    FolderTreeFake::Item* y;
    FolderTreeFake::Item* z;
};

TEST_F(FolderTreeWalkTest, MarkingBoldsTheFolderAndItsGroup)
{
    MarkFolderPathBold(tree, "X\\Y");
    EXPECT_EQ(tree.boldTexts(), (Texts{"X", "Y"}));
}

TEST_F(FolderTreeWalkTest, MarkingAMissingFolderBoldsNeitherItNorItsGroup)
{
    MarkFolderPathBold(tree, "X\\W");
    MarkFolderPathBold(tree, "W");
    MarkFolderPathBold(tree, "Y");  // exists, but not at the top level
    EXPECT_TRUE(tree.boldTexts().empty());
}

TEST_F(FolderTreeWalkTest, MarkingATopLevelFolderBoldsOnlyIt)
{
    MarkFolderPathBold(tree, "Z");
    EXPECT_EQ(tree.boldTexts(), Texts{"Z"});
    EXPECT_FALSE(tree.account()->bold);
    EXPECT_FALSE(tree.root()->bold);
}

// Only a component found below its parent bolds that parent: with X\Y\Q, Q is missing, so
// Y stays plain, while X is bolded because Y exists.
TEST_F(FolderTreeWalkTest, DeeperMissingComponentLeavesTheFoundPartAsTheWalkDecides)
{
    MarkFolderPathBold(tree, "X\\Y\\Q");
    EXPECT_EQ(tree.boldTexts(), Texts{"X"});
}

TEST_F(FolderTreeWalkTest, MarkingClearsNothing)
{
    z->bold = true;
    MarkFolderPathBold(tree, "X\\Y");
    EXPECT_EQ(tree.boldTexts(), (Texts{"X", "Y", "Z"}));
}

TEST_F(FolderTreeWalkTest, TallySetsEveryFolderBoldOrPlainWhateverItShowedBefore)
{
    AccountTally tally;
    tally.folders = {{"X\\Y", 2}, {"Z", 0}};
    z->bold = true;
    for (int run = 0; run < 2; ++run) {
        ApplyTallyToTree(tree, tally);
        EXPECT_EQ(tree.boldTexts(), (Texts{"X", "Y"}));
    }
    EXPECT_EQ(tree.textReads(), 2 * 3) << "one read per folder item and refresh";

    tally.folders = {{"X\\Y", 0}, {"Z", 0}};
    ApplyTallyToTree(tree, tally);
    EXPECT_TRUE(tree.boldTexts().empty());
}

TEST_F(FolderTreeWalkTest, TallyOfAGroupAloneBoldsTheGroupButNotItsFolders)
{
    AccountTally tally;
    tally.folders = {{"X", 1}};
    ApplyTallyToTree(tree, tally);
    EXPECT_EQ(tree.boldTexts(), Texts{"X"});
}

TEST(FolderTreeEdgeTest, TreesWithoutFoldersAreLeftAlone)
{
    FolderTreeFake tree;
    AccountTally tally;
    tally.folders = {{"Home", 1}};
    MarkFolderPathBold(tree, "Home");
    ApplyTallyToTree(tree, tally);
    EXPECT_TRUE(tree.boldTexts().empty()) << "the account item is never a folder";
}

TEST(FolderTreeEdgeTest, EmptyTitleInThePathMatchesAnUntitledItem)
{
    FolderTreeFake tree;
    FolderTreeFake::Item* group = tree.add(tree.account(), "A");
    FolderTreeFake::Item* untitled = tree.add(group, "");
    tree.add(untitled, "B");
    MarkFolderPathBold(tree, "A\\\\B");
    EXPECT_EQ(tree.boldTexts(), (Texts{"A", "", "B"}));

    AccountTally tally;
    tally.folders = {{"A\\\\B", 1}};
    group->bold = untitled->bold = false;
    ApplyTallyToTree(tree, tally);
    EXPECT_EQ(tree.boldTexts(), (Texts{"A", "", "B"}));
}

}  // namespace
