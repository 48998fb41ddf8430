// The about box, as the client opens it through APCVersionInfo.
#include <gtest/gtest.h>

#include <functional>

#include "dialog_driver_win.h"
#include "host_fixture.h"

namespace {

using AboutDialogTest = HostFixture;

TEST_F(AboutDialogTest, ShowsTheVersionAndEndsWithOkEscapeOrTheCloseBox)
{
    ASSERT_TRUE(startPlugin());
    const std::pair<std::function<void(const DialogDriver&)>, int> endings[] = {
        {[](const DialogDriver& box) { box.click(IDOK); }, 1},
        {[](const DialogDriver& box) { box.pressKey(VK_ESCAPE, IDOK); }, 2},
        {[](const DialogDriver& box) { box.closeBox(); }, 2},
    };
    for (const auto& [end, expected] : endings) {
        std::vector<std::string> texts;
        HWND owner = nullptr;
        const int result = RunWhileDriving([&] { return plugin().APCVersionInfo(host().frame()); }, [&] {
            std::optional<DialogDriver> box = DialogDriver::find("ﾊﾞｰｼﾞｮﾝ情報(tarnwick)", IDOK);
            if (box) {
                texts = box->staticTexts();
                owner = box->owner();
                end(*box);
                box->waitClosed();
            }
            return box;
        });
        EXPECT_EQ(result, expected);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0], "Tarnwick Version 0.30");
        EXPECT_EQ(owner, host().frame());
    }
}

}  // namespace
