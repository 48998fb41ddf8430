#include "mailbox/new_mail_tally.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/host_services_fake.h"
#include "mailbox/mailbox.h"
#include "doubles/profile_store_fake.h"
#include "host_mailbox_fixture.h"

namespace {

const std::string kMailbox = "C:\\Mail\\";
const std::string kHome = kMailbox + "home\\";

class NewMailTallyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.mailbox = kMailbox;
        LoadHostMailboxFixture(profile, kMailbox);
    }

    bool count(const std::string& mailPath, const std::string& displayPath)
    {
        return CountSortedMail(tally, AccountDirOfMail(kMailbox, mailPath), displayPath);
    }

    void clear(const std::string& accountDir, const std::string& folderPath)
    {
        ClearFolderTally(tally, boldRefreshPending, host.api, profile, accountDir, folderPath);
    }

    // The count of a folder, or -1 when it has no record.
    int countOf(const std::string& accountDir, const std::string& displayPath) const
    {
        const AccountTally* account = FindAccountTally(tally, accountDir);
        if (account == nullptr) {
            return -1;
        }
        const FolderTally* folder = account->findFolder(displayPath);
        return folder != nullptr ? folder->count : -1;
    }

    HostServicesFake host;
    ProfileStoreFake profile;
    NewMailTally tally;
    bool boldRefreshPending = false;
};

TEST_F(NewMailTallyTest, CountsPerAccountAndFolder)
{
    EXPECT_TRUE(count(kHome + "inbox.box\\00001.CRV", "G\\x"));
    EXPECT_TRUE(count(kHome + "inbox.box\\00002.CRV", "G\\x"));
    EXPECT_TRUE(count(kHome + "inbox.box\\00003.CRV", "郵便受け"));
    EXPECT_TRUE(count(kMailbox + "work\\inbox.box\\00001.CRV", "G\\x"));
    EXPECT_EQ(countOf(kHome, "G\\x"), 2);
    EXPECT_EQ(countOf(kHome, "郵便受け"), 1);
    EXPECT_EQ(countOf(kMailbox + "work\\", "G\\x"), 1);
}

TEST_F(NewMailTallyTest, AccountKeyIsTheFirstDirectoryBelowTheMailbox)
{
    count(kHome + "user002.box\\user003.box\\00001.CRV", "News");
    ASSERT_EQ(tally.accounts.size(), 1u);
    EXPECT_EQ(tally.accounts[0].accountDir, kHome);
    // "ソ" ends in the byte 0x5C, which is no separator.
    count(kMailbox + "ソ\\inbox.box\\00001.CRV", "News");
    EXPECT_EQ(countOf(kMailbox + "ソ\\", "News"), 1);
}

TEST_F(NewMailTallyTest, AccountsDifferingInLetterCaseAreSeparate)
{
    count(kMailbox + "Home\\inbox.box\\00001.CRV", "News");
    count(kMailbox + "home\\inbox.box\\00002.CRV", "News");
    count(kMailbox + "home\\inbox.box\\00003.CRV", "news");
    EXPECT_EQ(tally.accounts.size(), 2u);
    EXPECT_EQ(countOf(kMailbox + "Home\\", "News"), 1);
    EXPECT_EQ(countOf(kMailbox + "home\\", "News"), 1);
    EXPECT_EQ(countOf(kMailbox + "home\\", "news"), 1);
    EXPECT_EQ(FindAccountTally(tally, kMailbox + "HOME\\"), nullptr);
}

TEST_F(NewMailTallyTest, LookupsStayExactWhateverTheInsertionOrder)
{
    for (const char* account : {"m", "b", "z", "a", "mm", "m2"}) {
        for (const char* folder : {"q", "c", "qq", "a"}) {
            count(kMailbox + account + "\\inbox.box\\1.CRV", folder);
        }
    }
    for (const char* account : {"a", "b", "m", "m2", "mm", "z"}) {
        for (const char* folder : {"a", "c", "q", "qq"}) {
            EXPECT_EQ(countOf(kMailbox + account + "\\", folder), 1) << account << " " << folder;
        }
    }
    EXPECT_EQ(FindAccountTally(tally, kMailbox + "c\\"), nullptr);
    EXPECT_EQ(FindAccountTally(tally, ""), nullptr);
}

TEST_F(NewMailTallyTest, EmptyDisplayPathIsNeverCounted)
{
    EXPECT_FALSE(count(kHome + "inbox.box\\00001.CRV", ""));
    EXPECT_FALSE(count(kHome + "inbox.box\\00002.CRV", ""));
    const AccountTally* account = FindAccountTally(tally, kHome);
    ASSERT_NE(account, nullptr);
    EXPECT_TRUE(account->folders.empty());
    EXPECT_EQ(account->findFolder(""), nullptr);
}

TEST_F(NewMailTallyTest, MailPathWithoutAccountDirectoryCountsNothing)
{
    EXPECT_FALSE(count(kMailbox + "loose.CRV", "News"));
    EXPECT_FALSE(count("C:\\", "News"));
    EXPECT_TRUE(tally.accounts.empty());
}

TEST_F(NewMailTallyTest, OpeningACountedFolderClearsItAndAsksForARefresh)
{
    count(kHome + "inbox.box\\00001.CRV", "G\\x");
    count(kHome + "inbox.box\\00002.CRV", "G\\x");
    count(kHome + "inbox.box\\00003.CRV", "News");
    clear(kHome, "home\\user002.box\\user003.box");
    EXPECT_EQ(countOf(kHome, "G\\x"), 0);
    EXPECT_EQ(countOf(kHome, "News"), 1);
    EXPECT_TRUE(boldRefreshPending);

    // Clearing again still asks for a refresh, though the count already is 0.
    boldRefreshPending = false;
    clear(kHome, "home\\user002.box\\user003.box");
    EXPECT_TRUE(boldRefreshPending);
}

TEST_F(NewMailTallyTest, OpeningTheInboxClearsItsCount)
{
    count(kHome + "inbox.box\\00001.CRV", "郵便受け");
    clear(kHome, "home\\INBOX.BOX");
    EXPECT_EQ(countOf(kHome, "郵便受け"), 0);
    EXPECT_TRUE(boldRefreshPending);
}

TEST_F(NewMailTallyTest, ClearingWhatWasNeverCountedChangesNothing)
{
    count(kHome + "inbox.box\\00001.CRV", "G\\x");
    clear(kHome, "home\\user001.box");              // folder never counted
    clear(kMailbox + "other\\", "other\\inbox.box");  // account never counted
    clear("", "home\\user002.box\\user003.box");      // no account from the host
    clear(kHome, "home");                             // no display path
    EXPECT_FALSE(boldRefreshPending);
    EXPECT_EQ(countOf(kHome, "G\\x"), 1);
    EXPECT_EQ(countOf(kHome, "News"), -1);
    EXPECT_EQ(FindAccountTally(tally, kMailbox + "other\\"), nullptr);
}

}  // namespace
