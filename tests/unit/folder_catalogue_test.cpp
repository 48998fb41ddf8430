#include "mailbox/folder_catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "doubles/host_services_fake.h"
#include "doubles/profile_store_fake.h"
#include "host_mailbox_fixture.h"

namespace {

const std::string kMailbox = "C:\\Mail\\";

class FolderCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.mailbox = kMailbox;
        ASSERT_GT(LoadHostMailboxFixture(profile, kMailbox), 0);
    }

    std::string displayPath(const std::string& folderPath)
    {
        return FolderDisplayPath(host.api, profile, folderPath);
    }

    std::vector<std::string> catalogueOf(const std::string& account)
    {
        host.account = kMailbox + account + "\\";
        BuildFolderCatalogue(catalogue, host.api, profile, nullptr);
        std::vector<std::string> paths;
        for (int index = 0; index < catalogue.entryCount(); ++index) {
            paths.push_back(catalogue.entryAt(index)->displayPath);
        }
        return paths;
    }

    HostServicesFake host;
    ProfileStoreFake profile;
    FolderCatalogue catalogue;
};

using Paths = std::vector<std::string>;

TEST_F(FolderCatalogueTest, BuiltInFoldersHaveFixedNamesInAnyLetterCase)
{
    EXPECT_EQ(displayPath("home\\inbox.box"), "郵便受け");
    EXPECT_EQ(displayPath("home\\INBOX.BOX"), "郵便受け");
    EXPECT_EQ(displayPath("home\\outbox.box"), "送信箱");
    EXPECT_EQ(displayPath("home\\Trash.Box"), "ごみ箱");
}

TEST_F(FolderCatalogueTest, InboxBelowAUserFolderIsAnOrdinaryFolder)
{
    EXPECT_EQ(displayPath("home\\user001.box\\inbox.box"), "News\\Archive");
}

TEST_F(FolderCatalogueTest, DisplayPathJoinsTheTitlesDownFromTheAccount)
{
    EXPECT_EQ(displayPath("home\\user001.box"), "News");
    EXPECT_EQ(displayPath("home\\user002.box\\user005.box"), "G\\y");
    EXPECT_EQ(displayPath("home\\user005.box"), "領収書");
}

TEST_F(FolderCatalogueTest, EmptyTitlesLeaveTheirSeparatorOnlyAfterAFirstTitle)
{
    EXPECT_EQ(displayPath("home\\user007.box\\user001.box\\user002.box"), "A\\\\B");
    EXPECT_EQ(displayPath("home\\user008.box\\user001.box"), "B");
}

TEST_F(FolderCatalogueTest, PathWithoutAnAccountSeparatorHasNoDisplayPath)
{
    EXPECT_EQ(displayPath("home"), "");
    EXPECT_EQ(displayPath(""), "");
}

TEST_F(FolderCatalogueTest, MissingFolderFilesGiveEmptyTitles)
{
    EXPECT_EQ(displayPath("home\\user099.box"), "");
    EXPECT_EQ(displayPath("nowhere\\user001.box\\user002.box"), "");
}

TEST_F(FolderCatalogueTest, DoubleByteAccountNameIsNotSplitAtItsTrailByte)
{
    // The second byte of "ソ" is 0x5C, the backslash.
    EXPECT_EQ(displayPath("ソ\\inbox.box"), "郵便受け");
}

TEST_F(FolderCatalogueTest, TitlesAreCutAt199Bytes)
{
    EXPECT_EQ(displayPath("longtitle\\user001.box"), std::string(199, 'T'));
    EXPECT_EQ(catalogueOf("longtitle"), Paths{std::string(199, 'T')});
}

TEST_F(FolderCatalogueTest, GroupsListTheirChildrenInPlaceOfThemselves)
{
    // user006.box is a group without a title: it and its children are left out.
    EXPECT_EQ(catalogueOf("home"), (Paths{"News", "G\\x", "G\\y", "H\\z", "領収書"}));
    EXPECT_EQ(catalogue.rootDir, kMailbox + "home");
}

TEST_F(FolderCatalogueTest, OrderListsThreeDigitNumbersUntilAnotherLength)
{
    EXPECT_EQ(catalogueOf("ordered"), (Paths{"Three", "One", "Two"}));
    EXPECT_EQ(catalogueOf("twodigit"), Paths{"One"});
    EXPECT_EQ(catalogueOf("fourdigit"), Paths{"One"});
    EXPECT_EQ(catalogueOf("junk"), Paths{});
    EXPECT_EQ(catalogueOf("missing"), Paths{});
}

TEST_F(FolderCatalogueTest, ANumberListedTwiceIsWalkedOnce)
{
    // Nested groups that each list their only child 100 times: once per level is enough.
    std::string directory = kMailbox + "deep";
    profile.loadText(directory + "/account.ini", "[Property]\nOrder=001\n");
    std::string repeated;
    for (int i = 0; i < 100; ++i) {
        repeated += "001,";
    }
    for (int level = 0; level < 8; ++level) {
        directory += "/user001.box";
        profile.loadText(directory + "/entry.ini", "[Property]\nType=Subfolder\nTitle=G\nOrder=" +
                                                       repeated + "\n");
    }
    profile.loadText(directory + "/user001.box/entry.ini", "[Property]\nTitle=leaf\n");
    EXPECT_EQ(catalogueOf("deep"), Paths{"G\\G\\G\\G\\G\\G\\G\\G\\leaf"});
}

TEST_F(FolderCatalogueTest, OrderIsCutAt499Bytes)
{
    std::string order;
    for (int number = 1; number <= 130; ++number) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%03d,", number);
        order += digits;
        profile.loadText(kMailbox + "many/user" + std::string(digits, 3) + ".box/entry.ini",
                         "[Property]\nTitle=F" + std::string(digits, 3) + "\n");
    }
    profile.loadText(kMailbox + "many/account.ini", "[Property]\nOrder=" + order + "\n");
    // 125 numbers of four bytes fill 500 bytes; the 125th keeps its digits, not its comma.
    const Paths listed = catalogueOf("many");
    ASSERT_EQ(listed.size(), 125u);
    EXPECT_EQ(listed.front(), "F001");
    EXPECT_EQ(listed.back(), "F125");
}

TEST_F(FolderCatalogueTest, EveryBuildReplacesTheEntries)
{
    catalogueOf("ordered");
    EXPECT_EQ(catalogueOf("twodigit"), Paths{"One"});
    EXPECT_EQ(catalogue.rootDir, kMailbox + "twodigit");
}

TEST_F(FolderCatalogueTest, HostWithoutAccountLeavesTheCatalogueAsItWas)
{
    catalogueOf("ordered");
    host.accountKnown = false;
    BuildFolderCatalogue(catalogue, host.api, profile, nullptr);
    EXPECT_EQ(catalogue.entryCount(), 3);
    EXPECT_EQ(catalogue.rootDir, kMailbox + "ordered");
}

TEST_F(FolderCatalogueTest, EntryAccessOutsideTheListGivesNothing)
{
    catalogueOf("ordered");
    EXPECT_EQ(catalogue.entryAt(-1), nullptr);
    EXPECT_EQ(catalogue.entryAt(3), nullptr);
    ASSERT_NE(catalogue.entryAt(2), nullptr);
    EXPECT_EQ(catalogue.entryAt(2)->displayPath, "Two");
}

TEST(FolderOrderTest, ThreeDigitNumbersAnySeparators)
{
    EXPECT_EQ(FolderDirectoriesInOrder("003,001,002"),
              (Paths{"user003.box", "user001.box", "user002.box"}));
    EXPECT_EQ(FolderDirectoriesInOrder("  010\t011;x012"),
              (Paths{"user010.box", "user011.box", "user012.box"}));
    EXPECT_EQ(FolderDirectoriesInOrder("001,02,003"), Paths{"user001.box"});
    EXPECT_EQ(FolderDirectoriesInOrder("0012,003"), Paths{"user001.box"});
    EXPECT_EQ(FolderDirectoriesInOrder(""), Paths{});
    EXPECT_EQ(FolderDirectoriesInOrder("none"), Paths{});
    EXPECT_EQ(FolderDirectoriesInOrder("7"), Paths{});
}

}  // namespace
