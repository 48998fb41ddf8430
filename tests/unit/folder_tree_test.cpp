#include "host/folder_tree.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "doubles/folder_tree_fake.h"
#include "mailbox/new_mail_tally.h"

namespace {

using Texts = std::vector<std::string>;

TEST(SplitFolderPathTest, SplitsAtEveryBackslashButTrailBytes)
{
    EXPECT_EQ(SplitFolderPath("X"), Texts{"X"});
    EXPECT_EQ(SplitFolderPath("A\\\\B"), (Texts{"A", "", "B"}));
    EXPECT_EQ(SplitFolderPath("\\"), (Texts{"", ""}));
    // "ソ" and "表" end in the byte 0x5C, which is no separator.
    EXPECT_EQ(SplitFolderPath("ソフト\\表示"), (Texts{"ソフト", "表示"}));
}

// Below the account item (itself titled "X", which the walk must never compare): X holding Y,
// then Z.
struct SampleTree {
    SampleTree() : tree("X")
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

Texts BoldAfterMarking(std::initializer_list<const char*> paths, bool zBoldBefore = false)
{
    SampleTree sample;
    sample.z->bold = zBoldBefore;
    for (const char* path : paths) {
        MarkFolderPathBold(sample.tree, path);
    }
    return sample.tree.boldTexts();
}

TEST(FolderTreeMarkTest, BoldsTheNamedFolderAndTheGroupsOnItsWay)
{
    EXPECT_EQ(BoldAfterMarking({"X\\Y"}), (Texts{"X", "Y"}));
    EXPECT_EQ(BoldAfterMarking({"Z"}), Texts{"Z"});
    EXPECT_EQ(BoldAfterMarking({"X\\W", "W", "Y", ""}), Texts{}) << "missing, or not at the top";
    // Q is missing: Y, whose next component is not found, stays plain; X, below which the next
    // component Y was found, is bolded.
    EXPECT_EQ(BoldAfterMarking({"X\\Y\\Q"}), Texts{"X"});
    EXPECT_EQ(BoldAfterMarking({"X\\Y"}, true), (Texts{"X", "Y", "Z"})) << "marking clears nothing";
}

TEST(FolderTreeTallyTest, SetsEveryFolderBoldOrPlainFromTheCounts)
{
    SampleTree sample;
    sample.z->bold = true;
    AccountTally tally;
    tally.folders = {{"X\\Y", 2}, {"Z", 0}};
    ApplyTallyToTree(sample.tree, tally);
    EXPECT_EQ(sample.tree.boldTexts(), (Texts{"X", "Y"}));
    EXPECT_EQ(sample.tree.textReads, 3) << "each folder's text read once";

    tally.folders = {{"X", 1}, {"X\\Y", 0}};
    ApplyTallyToTree(sample.tree, tally);
    EXPECT_EQ(sample.tree.boldTexts(), Texts{"X"}) << "a counted group, nothing below it";
}

TEST(FolderTreeTallyTest, AccountItemIsNoFolderAndEmptyTitlesMatch)
{
    AccountTally tally;
    tally.folders = {{"A\\\\B", 1}, {"Home", 1}};  // sorted, as the tally keeps them
    FolderTreeFake tree;
    ApplyTallyToTree(tree, tally);
    MarkFolderPathBold(tree, "Home");
    EXPECT_EQ(tree.boldTexts(), Texts{});

    FolderTreeFake::Item* group = tree.add(tree.account(), "A");
    tree.add(tree.add(group, ""), "B");
    ApplyTallyToTree(tree, tally);
    EXPECT_EQ(tree.boldTexts(), (Texts{"A", "", "B"}));
}

}  // namespace
