// A retrieval through the replacement host with the real plug-in: the host stores each
// message in the inbox, honours the result bits of APCRecFilter and shows what the plug-in
// asked of it.
#include "host_fixture.h"

namespace {

class HostRetrievalTest : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        writePluginIni("[Setup]\r\nCheckConnect=0\r\n"
                       "[MoveMail]\r\nwork=仕事\r\nspam=ごみ箱\r\nkeep=郵便受け\r\n"
                       "[Action]\r\nwork=2,1,0\r\nspam=2,0,0\r\nkeep=2,0,1\r\n"
                       "[Mark]\r\nwork=3\r\n");
        account = addAccount("acct", "受信口座");
        work = mailbox().addFolder(account, "仕事");
        ASSERT_TRUE(startPlugin());
        host().openFolder(Mailbox::inbox(account));
    }

    static std::string Classified(const std::string& bucket)
    {
        return MailText({"From: a@example.com", "Subject: test", "X-Text-Classification: " + bucket},
                        "body of " + bucket + "\r\n");
    }

    std::string account;
    std::string work;
};

TEST_F(HostRetrievalTest, MovedMessageLeavesTheInboxAndAsksForServerDeletion)
{
    DialogWatcher anyBox("", "OK", 5000);
    const std::vector<RetrievedMessage> retrieved = host().retrieve(account, {Classified("work")});
    ASSERT_EQ(retrieved.size(), 1u);
    const RetrievedMessage& message = retrieved[0];

    EXPECT_EQ(message.result, 1);
    EXPECT_TRUE(message.serverDeleteRecorded);
    EXPECT_EQ(host().serverDeletes(), std::vector<std::string>{message.reference});
    EXPECT_FALSE(mailbox().messageExists(message.reference)) << "moved out of the inbox";

    const std::vector<std::string> copies = mailbox().messagesIn(work);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(mailbox().readMessage(copies[0]), Classified("work"));
    EXPECT_EQ(host().copiesOf(message.reference), copies);

    const std::vector<HostCall> marks = host().callsTo("APAMarkMail");
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].arguments, (std::vector<std::string>{message.reference, "3", "1"}));
}

TEST_F(HostRetrievalTest, DuplicatedMessageIsCopiedAndTheHostDeletesItsOwn)
{
    DialogWatcher anyBox("", "OK", 5000);
    const std::vector<RetrievedMessage> retrieved = host().retrieve(account, {Classified("keep")});
    ASSERT_EQ(retrieved.size(), 1u);

    EXPECT_EQ(retrieved[0].result, 4);
    EXPECT_TRUE(retrieved[0].hostCopyDeleted);
    EXPECT_TRUE(host().serverDeletes().empty());
    EXPECT_TRUE(host().callsTo("APADeleteMail").empty()) << "the host, not the plug-in, deletes it";
    const std::vector<std::string> inbox = mailbox().messagesIn(Mailbox::inbox(account));
    ASSERT_EQ(inbox.size(), 1u) << "only the imported copy is left";
    EXPECT_NE(inbox[0], retrieved[0].reference);
    EXPECT_EQ(mailbox().readMessage(inbox[0]), Classified("keep"));
}

TEST_F(HostRetrievalTest, UnknownBucketStaysAndEndOfRetrievalFollows)
{
    DialogWatcher anyBox("", "OK", 5000);
    const std::vector<RetrievedMessage> retrieved =
        host().retrieve(account, {Classified("unknown"), MailText({"Subject: plain"}, "x\r\n")});
    ASSERT_EQ(retrieved.size(), 2u);
    for (const RetrievedMessage& message : retrieved) {
        EXPECT_EQ(message.result, 0);
        EXPECT_TRUE(mailbox().messageExists(message.reference));
        EXPECT_EQ(message.path, mailbox().root() + message.reference + ".CRV");
    }
    EXPECT_TRUE(host().callsTo("APAImportFile").empty());
    EXPECT_TRUE(host().callsTo("APAMarkMail").empty());
}

}  // namespace
