// The new-mail icon on the host's frame: started by the real plug-in at the end of a
// retrieval, and both ways of changing the icon exercised in-process on the same frame.
#include "host_fixture.h"

#include <windows.h>

#include "plugin/process_win.h"
#include "host/icon_alert_win.h"

namespace {

HICON AlertIcon()
{
    return LoadIconA(GetModuleHandleA("tarnwick.dll"), MAKEINTRESOURCEA(173));
}

class IconAlertTest : public HostFixture {
protected:
    // Whether the frame's own icons (set by WM_SETICON) are both the given one or, with
    // icon null, the host's class icons.
    bool frameShows(HICON icon)
    {
        const auto shown = [this](WPARAM which) {
            return reinterpret_cast<HICON>(SendMessageA(host().frame(), WM_GETICON, which, 0));
        };
        return shown(ICON_BIG) == (icon != nullptr ? icon : host().frameClassIcon(true)) &&
               shown(ICON_SMALL) == (icon != nullptr ? icon : host().frameClassIcon(false));
    }
    void tick()
    {
        host().stepTimers();
        host().pumpMessages();
    }
};

TEST_F(IconAlertTest, RetrievalStartsTheBlinkingIconWithOneTimer)
{
    writePluginIni("[Setup]\r\nCheckConnect=0\r\n[MoveMail]\r\nwork=郵便受け\r\n[Action]\r\nwork=0,0,0\r\n");
    ASSERT_TRUE(startPlugin());
    const std::string account = addAccount("acct", "Home");
    host().openFolder(Mailbox::inbox(account));

    // Filed and recorded, but no rule asks for a message: the summary only starts the icon.
    host().retrieve(account, {MailText({"X-Text-Classification: work"}, "x\r\n")});
    ASSERT_NE(AlertIcon(), nullptr);
    EXPECT_TRUE(frameShows(AlertIcon()));
    ASSERT_EQ(host().liveTimers(1000).size(), 1u);
    tick();
    EXPECT_TRUE(frameShows(nullptr));

    // A message no rule applies to asks for the icon at the end of the retrieval itself.
    host().retrieve(account, {MailText({"Subject: unsorted"}, "x\r\n")});
    EXPECT_TRUE(frameShows(AlertIcon()));
    EXPECT_EQ(host().liveTimers(1000).size(), 1u) << "a new start replaces the running alert";
}

TEST_F(IconAlertTest, BothWaysOfChangingTheIconBlinkAndStop)
{
    ASSERT_TRUE(loadPlugin());
    PluginProcess& process = ThePluginProcess();  // this program's own copy of the state
    process.state.host = hostServices();
    StartIconAlert(process.iconAlert, host().frame());
    EXPECT_TRUE(host().liveTimers().empty()) << "no saved icons yet";

    SaveFrameIcons(process.iconAlert, host().frame(), GetModuleHandleA("tarnwick.dll"));
    for (const bool windows6OrLater : {true, false}) {
        SCOPED_TRACE(windows6OrLater ? "per window" : "through the class");
        process.state.windows6OrLater = windows6OrLater;
        const auto shows = [&](HICON icon) {
            const HICON classIcon = reinterpret_cast<HICON>(GetClassLongPtrA(host().frame(), GCLP_HICONSM));
            return windows6OrLater ? frameShows(icon)
                                   : classIcon == (icon != nullptr ? icon : host().frameClassIcon(false));
        };
        StartIconAlert(process.iconAlert, host().frame());
        StartIconAlert(process.iconAlert, host().frame());
        host().pumpMessages();
        EXPECT_EQ(host().liveTimers().size(), 1u);
        EXPECT_TRUE(shows(AlertIcon()));
        tick();
        EXPECT_TRUE(shows(nullptr));
        tick();
        EXPECT_TRUE(shows(AlertIcon()));

        StopIconAlert(process.iconAlert, host().frame());
        host().pumpMessages();
        EXPECT_TRUE(shows(nullptr));
        EXPECT_TRUE(host().liveTimers().empty());
    }
}

}  // namespace
