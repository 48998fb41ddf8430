// copyMailToFolder in-process, against the replacement host's services as the plug-in
// resolves them and the real temporary-file services.
#include "host_fixture.h"

#include "base/file_system_win.h"
#include "mailbox/mailbox.h"

namespace {

class CopyMailTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        services = hostServices();
        ASSERT_TRUE(services.resolved());
        account = addAccount("acct", "私の口座");
        work = mailbox().addFolder(account, "仕事");
        mail = mailbox().addMessage(Mailbox::inbox(account), MailText({"Subject: hello"}, "body\r\n"));
    }

    HostApi services;
    Win32FileSystem files;
    std::string account;
    std::string work;
    std::string mail;
};

TEST_F(CopyMailTest, CopyLandsInTheFolderAndLeavesNoTemporaryFile)
{
    EXPECT_TRUE(copyMailToFolder(services, files, mail, "私の口座\\仕事", true));

    const std::vector<std::string> copies = mailbox().messagesIn(work);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(mailbox().readMessage(copies[0]), MailText({"Subject: hello"}, "body\r\n"));
    EXPECT_FALSE(mailbox().messageExists(mail)) << "the source is deleted when asked";
    EXPECT_TRUE(tempFiles().empty()) << tempFiles().front();
}

TEST_F(CopyMailTest, KeepsTheSourceWhenNotAskedToDelete)
{
    EXPECT_TRUE(copyMailToFolder(services, files, mail, "私の口座\\仕事", false));
    EXPECT_EQ(mailbox().messagesIn(work).size(), 1u);
    EXPECT_TRUE(mailbox().messageExists(mail));
    EXPECT_TRUE(host().callsTo("APADeleteMail").empty());
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(CopyMailTest, UnsavableMessageFailsAndLeavesNoTemporaryFile)
{
    EXPECT_FALSE(copyMailToFolder(services, files, "acct\\inbox.box\\99999999", "私の口座\\仕事", true));
    EXPECT_TRUE(mailbox().messagesIn(work).empty());
    EXPECT_TRUE(host().callsTo("APAImportFile").empty()) << "nothing to import after a failed save";
    EXPECT_TRUE(tempFiles().empty());
}

TEST_F(CopyMailTest, FailedImportKeepsTheSourceAndLeavesNoTemporaryFile)
{
    EXPECT_FALSE(copyMailToFolder(services, files, mail, "私の口座\\存在しない", true));
    EXPECT_TRUE(mailbox().messageExists(mail));
    EXPECT_TRUE(host().callsTo("APADeleteMail").empty());
    EXPECT_TRUE(tempFiles().empty());

    const std::vector<HostCall> saves = host().callsTo("APASaveMail");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].arguments[0], mail);
    EXPECT_EQ(saves[0].arguments[1].rfind(tempFolder() + "TAR", 0), 0u)
        << "saved to a temporary file named from the prefix: " << saves[0].arguments[1];
    EXPECT_EQ(saves[0].arguments[2], "0");
    EXPECT_EQ(saves[0].arguments[3], "0");
}

}  // namespace
