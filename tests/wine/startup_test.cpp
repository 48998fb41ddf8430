// Loading and starting the plug-in in the replacement host, observed from outside: entry
// points, service calls and the INI file the plug-in writes.
#include "host_fixture.h"

#include <algorithm>

namespace {

using StartUpTest = HostFixture;

// The key names of one INI section in file order, read from the file's bytes.
std::vector<std::string> KeysInFileOrder(const std::string& ini, const std::string& section)
{
    std::vector<std::string> keys;
    bool inSection = false;
    std::size_t start = 0;
    while (start < ini.size()) {
        std::size_t end = ini.find('\n', start);
        if (end == std::string::npos) {
            end = ini.size();
        }
        std::string line = ini.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[" + section + "]";
        } else if (inSection && line.find('=') != std::string::npos) {
            keys.push_back(line.substr(0, line.find('=')));
        }
        start = end + 1;
    }
    return keys;
}

TEST_F(StartUpTest, NameIsAnsweredBeforeStartUp)
{
    ASSERT_TRUE(loadPlugin());
    EXPECT_STREQ(plugin().APCGetPlugName(), "Tarnwick Version 0.30");
    EXPECT_TRUE(host().calls().empty()) << "loading alone must not call the host";
    EXPECT_FALSE(pluginIniBytes().has_value()) << "loading alone must not create the INI file";
}

// Start-up registers the summary command and creates the notification window, hidden, at
// the position the INI file keeps.
TEST_F(StartUpTest, StartUpRegistersTheSummaryAndCreatesTheHiddenWindow)
{
    writePluginIni("[Setup]\r\nCheckConnect=0\r\nwinLeft=30\r\nwinTop=40\r\nwinWidth=300\r\n");
    ASSERT_TRUE(loadPlugin());
    EXPECT_EQ(plugin().APCStartUp(0), 1);
    const std::vector<HostCall> registrations = host().callsTo("APARegistCallback");
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations.front().arguments.at(1), "0") << "the summary callback takes parameter 0";

    HWND window = FindWindowOfThisProcess("TARNWICK_MESSAGE_WINDOW", "受信メール表示");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.left, 30);
    EXPECT_EQ(bounds.top, 40);
    EXPECT_EQ(bounds.right - bounds.left, 300);
}

TEST_F(StartUpTest, FirstStartCreatesTheIniWithItsDefaults)
{
    ASSERT_FALSE(pluginIniBytes().has_value());
    ASSERT_TRUE(startPlugin());

    EXPECT_EQ(readPluginIni("Setup", "CheckConnect"), "0");
    EXPECT_EQ(readPluginIni("MoveMail", "spam"), "ごみ箱") << Utf8(readPluginIni("MoveMail", "spam"));

    const std::optional<std::string> bytes = pluginIniBytes();
    ASSERT_TRUE(bytes.has_value());
    // The Shift-JIS bytes of ごみ箱, written out by hand.
    const std::string trashInSjis = "\x82\xb2\x82\xdd\x94\xa0";
    EXPECT_NE(bytes->find("spam=" + trashInSjis), std::string::npos) << Utf8(*bytes);
    EXPECT_NE(bytes->find("CheckConnect=0"), std::string::npos) << Utf8(*bytes);
    EXPECT_EQ(KeysInFileOrder(*bytes, "MoveMail"), std::vector<std::string>{"spam"});
}

TEST_F(StartUpTest, StartWithAnExistingIniKeepsItsRulesInOrder)
{
    const std::string ini =
        "[Setup]\r\nCheckConnect=0\r\n"
        "[MoveMail]\r\nzeta=ごみ箱\r\nalpha=郵便受け\r\nmiddle=仕事\\報告\r\nspam=ごみ箱\r\n"
        "[Action]\r\nzeta=2\r\nalpha=0\r\nmiddle=1\r\nspam=0\r\n";
    writePluginIni(ini);
    ASSERT_TRUE(startPlugin());

    const std::optional<std::string> bytes = pluginIniBytes();
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(KeysInFileOrder(*bytes, "MoveMail"),
              (std::vector<std::string>{"zeta", "alpha", "middle", "spam"}));
    EXPECT_EQ(readPluginIni("MoveMail", "middle"), "仕事\\報告");
}

}  // namespace
