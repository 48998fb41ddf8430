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

namespace {

using MenuChoiceTest = HostFixture;

// The path a user's choice takes: the item's command number reaches the window the menu was
// built for, and the host runs the callback the plug-in registered under that number.
TEST_F(MenuChoiceTest, ChosenFolderMenuItemRunsTheRegisteredCallback)
{
    ASSERT_TRUE(startPlugin());
    const std::string account = addAccount("acct", "Account");
    host().openFolder(Mailbox::inbox(account));

    BuiltMenu menu = host().folderMenu(102);
    const std::optional<MenuEntry> open = menu.find("POPFileを開く");
    ASSERT_TRUE(open.has_value());
    const std::vector<HostCall> registrations = host().callsTo("APARegistCallback");
    ASSERT_FALSE(registrations.empty());
    EXPECT_EQ(std::to_string(open->id), registrations.back().result);

    host().clearCalls();
    ASSERT_TRUE(host().chooseMenuItem(menu, "POPFileを開く"));
    const std::vector<HostCall> asked = host().callsTo("APAFolderGetCurrentEntry");
    ASSERT_EQ(asked.size(), 1u) << "with no current mail, the item only asks for it";
    EXPECT_EQ(asked[0].arguments[0], LoggedPointer(host().frame()));
}

}  // namespace
