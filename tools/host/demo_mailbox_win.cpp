#include "demo_mailbox_win.h"

#include <string>

void BuildDemoMailbox(Mailbox& mailbox)
{
    AccountSettings classified;
    classified.title = "POPFile経由";
    classified.connect = "1";
    classified.pop3Server = "127.0.0.1";
    classified.pop3Port = "1110";
    mailbox.addAccount(kDemoAccount, classified);
    mailbox.addFolder(kDemoAccount, "仕事");
    const std::string hobby = mailbox.addGroup(kDemoAccount, "趣味");
    mailbox.addFolder(hobby, "旅行");
    mailbox.addFolder(hobby, "ニュース");

    AccountSettings direct;
    direct.title = "直接";
    mailbox.addAccount("direct", direct);
}
