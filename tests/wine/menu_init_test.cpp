// The plug-in's menu entry points leave menus they do not own alone.
#include "host_fixture.h"

namespace {

using MenuInitTest = HostFixture;

TEST_F(MenuInitTest, FolderMenuOtherThan102GetsNothing)
{
    ASSERT_TRUE(startPlugin());
    for (int menuId : {101, 103, 201, 202}) {
        BuiltMenu menu = host().folderMenu(menuId);
        EXPECT_EQ(menu.labels(), menu.labelsBeforePlugin()) << "menu id " << menuId;
    }
}

TEST_F(MenuInitTest, ViewMenu200IsAnsweredWithItsIdAndGetsNothing)
{
    ASSERT_TRUE(startPlugin());
    const std::string account = addAccount("acct", "Account");
    const std::string mail = mailbox().addMessage(Mailbox::inbox(account), MailText({"Subject: x"}, "x\r\n"));
    HWND view = host().openView(mail);

    BuiltMenu menu = host().viewMenu(view, 200);
    EXPECT_EQ(menu.initResult(), 200);
    EXPECT_EQ(menu.labels(), menu.labelsBeforePlugin());
}

}  // namespace
