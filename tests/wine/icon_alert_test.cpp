// The new-mail icon on the host's frame: started by the real plug-in at the end of a
// retrieval, and both ways of changing the icon exercised in-process on the same frame.
#include "host_fixture.h"

#include <windows.h>

#include "core/process_win.h"
#include "host/icon_alert_win.h"

namespace {

HICON WindowIcon(HWND window, WPARAM which)
{
    return reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
}

HICON ClassSmallIcon(HWND window)
{
    return reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
}

HICON AlertIcon()
{
    return LoadIconA(GetModuleHandleA("tarnwick.dll"), MAKEINTRESOURCEA(173));
}

class IconAlertTest : public HostFixture {
protected:
    // The icons the frame shows: its own (set by WM_SETICON) or, without them, its class's.
    bool showsAlert()
    {
        return WindowIcon(frame(), ICON_BIG) == AlertIcon() &&
               WindowIcon(frame(), ICON_SMALL) == AlertIcon();
    }
    bool showsSavedIcons()
    {
        return WindowIcon(frame(), ICON_BIG) == host().frameClassIcon(true) &&
               WindowIcon(frame(), ICON_SMALL) == host().frameClassIcon(false);
    }
    HWND frame() { return host().frame(); }
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
    ASSERT_NE(AlertIcon(), nullptr);
    const std::string account = addAccount("acct", "Home");
    host().openFolder(Mailbox::inbox(account));

    // Filed and recorded, but no rule asks for a message: the summary only starts the icon.
    host().retrieve(account, {MailText({"X-Text-Classification: work"}, "x\r\n")});
    EXPECT_TRUE(showsAlert());
    ASSERT_EQ(host().liveTimers().size(), 1u);
    EXPECT_EQ(host().liveTimers()[0].milliseconds, 1000u);

    tick();
    EXPECT_TRUE(showsSavedIcons());
    tick();
    EXPECT_TRUE(showsAlert());

    // A message no rule applies to asks for the icon at the end of the retrieval itself.
    host().retrieve(account, {MailText({"Subject: unsorted"}, "x\r\n")});
    EXPECT_TRUE(showsAlert());
    EXPECT_EQ(host().liveTimers().size(), 1u) << "a new start replaces the running alert";
}

TEST_F(IconAlertTest, BothWaysOfChangingTheIconBlinkAndStop)
{
    ASSERT_TRUE(loadPlugin());
    PluginProcess& process = ThePluginProcess();  // this program's own copy of the state
    process.state.host = hostServices();

    StartIconAlert(frame());
    EXPECT_TRUE(host().liveTimers().empty()) << "no saved icons yet";

    SaveFrameIcons(frame(), GetModuleHandleA("tarnwick.dll"));
    for (const bool windows6OrLater : {true, false}) {
        SCOPED_TRACE(windows6OrLater ? "per window" : "through the class");
        process.state.windows6OrLater = windows6OrLater;
        const auto alertShown = [&] {
            return windows6OrLater ? showsAlert() : ClassSmallIcon(frame()) == AlertIcon();
        };
        const auto savedShown = [&] {
            return windows6OrLater ? showsSavedIcons()
                                   : ClassSmallIcon(frame()) == host().frameClassIcon(false);
        };

        StartIconAlert(frame());
        StartIconAlert(frame());
        host().pumpMessages();
        ASSERT_EQ(host().liveTimers().size(), 1u);
        EXPECT_TRUE(alertShown());
        tick();
        EXPECT_TRUE(savedShown());
        tick();
        EXPECT_TRUE(alertShown());

        StopIconAlert(frame());
        host().pumpMessages();
        EXPECT_TRUE(savedShown());
        EXPECT_TRUE(host().liveTimers().empty());
        EXPECT_FALSE(process.iconAlert.alertActive);
    }
}

}  // namespace
