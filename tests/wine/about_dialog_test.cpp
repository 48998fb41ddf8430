// The about box, as the client opens it through APCVersionInfo.
#include <gtest/gtest.h>

#include "dialog_driver_win.h"
#include "host_fixture.h"

namespace {

constexpr const char* kCaption = "ﾊﾞｰｼﾞｮﾝ情報(tarnwick)";

using AboutDialogTest = HostFixture;

TEST_F(AboutDialogTest, ShowsTheVersionAndEndsWithOkEscapeOrTheCloseBox)
{
    ASSERT_TRUE(startPlugin());
    std::vector<std::string> texts;
    bool ownedByFrame = false;
    bool showsIcon = false;
    const int ok = RunWhileDriving([&] { return plugin().APCVersionInfo(host().frame()); }, [&] {
        std::optional<DialogDriver> box = DialogDriver::find(kCaption, IDOK);
        if (box) {
            texts = box->staticTexts();
            ownedByFrame = box->owner() == host().frame();
            showsIcon = box->showsIcon();
            box->click(IDOK);
            box->waitClosed();
        }
        return box;
    });
    EXPECT_EQ(ok, 1);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Tarnwick Version 0.30");
    EXPECT_FALSE(texts[1].empty());
    EXPECT_TRUE(ownedByFrame);
    EXPECT_TRUE(showsIcon);

    const int escaped = RunWhileDriving([&] { return plugin().APCVersionInfo(host().frame()); }, [&] {
        std::optional<DialogDriver> box = DialogDriver::find(kCaption, IDOK);
        if (box) {
            box->pressKey(VK_ESCAPE, IDOK);
            box->waitClosed();
        }
        return box;
    });
    EXPECT_EQ(escaped, 2);

    const int closed = RunWhileDriving([&] { return plugin().APCVersionInfo(host().frame()); }, [&] {
        std::optional<DialogDriver> box = DialogDriver::find(kCaption, IDOK);
        if (box) {
            box->closeBox();
            box->waitClosed();
        }
        return box;
    });
    EXPECT_EQ(closed, 2);
}

}  // namespace
