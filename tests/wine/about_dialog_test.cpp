// The about box, as the client opens it through APCVersionInfo.
#include <gtest/gtest.h>

#include "driven_run_win.h"
#include "host_fixture.h"

namespace {

using AboutDialogTest = HostFixture;

TEST_F(AboutDialogTest, ShowsTheVersionAndEndsWithOkEscapeOrTheCloseBox)
{
    ASSERT_TRUE(startPlugin());
    const std::pair<std::function<void(DialogDriver&, HWND)>, int> endings[] = {
        {[](DialogDriver& driver, HWND box) { driver.press(box, IDOK); }, 1},
        {[](DialogDriver& driver, HWND box) { driver.pressKey(box, VK_ESCAPE); }, 2},
        {[](DialogDriver& driver, HWND box) { driver.closeFromCaption(box); }, 2},
    };
    for (const auto& [end, expected] : endings) {
        std::vector<std::string> texts;
        HWND owner = nullptr;
        const DrivenRun run = RunDriven([&] { return plugin().APCVersionInfo(host().frame()); },
                                        [&](DialogDriver& driver) {
            HWND box = driver.waitForDialog("ﾊﾞｰｼﾞｮﾝ情報(tarnwick)", IDOK);
            texts = StaticTexts(box);
            owner = GetWindow(box, GW_OWNER);
            end(driver, box);
            driver.waitUntilClosed(box);
        });
        EXPECT_EQ(run.failure, "");
        EXPECT_EQ(run.result, expected);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0], "Tarnwick Version 0.30");
        EXPECT_EQ(owner, host().frame());
    }
}

}  // namespace
