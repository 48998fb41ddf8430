// Built into a host that exports every service but APAJisToSjis, one the plug-in never calls.
#include "host_fixture.h"

namespace {

using MissingServiceTest = HostFixture;

TEST_F(MissingServiceTest, PluginRefusesToLoadAndSaysWhy)
{
    ASSERT_EQ(GetProcAddress(GetModuleHandleA(nullptr), "_APAJisToSjis@12"), nullptr);
    ASSERT_NE(GetProcAddress(GetModuleHandleA(nullptr), "_APASjisToJis@12"), nullptr);

    DialogWatcher watcher("プラグインエラー");
    watcher.expectText("プラグイン「Tarnwick Version 0.30」でエラーが発生しました。\r\n"
                       "Corvane32とプラグインのバージョンを確認してください");
    EXPECT_FALSE(loadPlugin());
    ASSERT_TRUE(watcher.waitFor(1)) << "no error box appeared";

    const SeenDialog box = watcher.seen().front();
    EXPECT_EQ(box.text,
              "プラグイン「Tarnwick Version 0.30」でエラーが発生しました。\r\n"
              "Corvane32とプラグインのバージョンを確認してください")
        << Utf8(box.text);
    EXPECT_EQ(box.pressed, "OK");
    EXPECT_FALSE(host().plugin().loaded());
    EXPECT_TRUE(host().calls().empty()) << "a refused plug-in must not have called the host";
}

}  // namespace
