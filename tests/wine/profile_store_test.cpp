// The configuration code on the real private-profile services, in-process: what it writes
// must read back the same through the system's own INI parser.
#include "host_fixture.h"

#include "base/profile_store_win.h"
#include "config/rule_store.h"
#include "config/settings_store.h"
#include "base/file_system_win.h"

namespace {

class ProfileStoreTest : public HostFixture {
protected:
    Win32ProfileStore profile;
    Win32FileSystem files;
};

TEST_F(ProfileStoreTest, IniPathIsBelowTheProgramFolder)
{
    EXPECT_EQ(::pluginIniPath(files), host().programFolder() + "Plugins\\tarnwick.ini");
}

TEST_F(ProfileStoreTest, FixedSettingsIgnoreTheFileAndAreWrittenBack)
{
    writePluginIni("[Setup]\r\nDispDialog=0\r\nBeep=1\r\nDispFrom=0\r\nDispSubject=0\r\n"
                   "CheckConnect=1\r\nAfterSetBold=1\r\nURL=http://127.0.0.1:8080/\r\n");
    PluginSettings settings;
    loadSettings(settings, profile, files);
    EXPECT_TRUE(settings.DispDialog);
    EXPECT_FALSE(settings.Beep);
    EXPECT_TRUE(settings.DispFrom);
    EXPECT_TRUE(settings.DispSubject);
    EXPECT_TRUE(settings.CheckConnect) << "an ordinary flag is read from the file";

    saveSettings(settings, profile, files);
    EXPECT_EQ(readPluginIni("Setup", "DispDialog"), "1");
    EXPECT_EQ(readPluginIni("Setup", "Beep"), "0");
    EXPECT_EQ(readPluginIni("Setup", "DispFrom"), "1");
    EXPECT_EQ(readPluginIni("Setup", "DispSubject"), "1");
    EXPECT_EQ(readPluginIni("Setup", "CheckConnect"), "1");
    EXPECT_EQ(readPluginIni("Setup", "URL"), "http://127.0.0.1:8080/");
}

TEST_F(ProfileStoreTest, HeaderRulesWithColonsRoundTrip)
{
    const HeaderRuleList edited = {
        {"X-Spam-Flag:", "YES", "spam"},
        {"Subject:", "見積:至急", "仕事:見積"},
        {"From:", "", "a::b:"},
        {"X-Mailer:", "表示ソフト", "ソフト"},  // trail bytes 0x5C inside Shift-JIS characters
    };
    HeaderRuleList rules;
    saveHeaderRules(rules, edited, profile, ::pluginIniPath(files));

    HeaderRuleList loaded;
    loadHeaderRules(loaded, profile, ::pluginIniPath(files));
    ASSERT_EQ(loaded.size(), edited.size());
    for (std::size_t i = 0; i < edited.size(); ++i) {
        EXPECT_EQ(loaded[i].header, edited[i].header) << i;
        EXPECT_EQ(loaded[i].search, edited[i].search) << i << ": " << Utf8(loaded[i].search);
        EXPECT_EQ(loaded[i].bucket, edited[i].bucket) << i << ": " << Utf8(loaded[i].bucket);
    }
}

TEST_F(ProfileStoreTest, HeaderRulesOfADamagedFileReadBackAsSaved)
{
    // Values in quotes, and a second copy of the section with only a line without "=".
    writePluginIni("[AdditionalHeader]\r\n1=spam:From:::a\r\n2=\" sp:X:a \"\r\n"
                   "3=\"\"x:Y:::z\"\"\r\n[Setup]\r\nURL=x\r\n[AdditionalHeader]\r\n3\r\n");
    HeaderRuleList loaded;
    loadHeaderRules(loaded, profile, ::pluginIniPath(files));
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[1].bucket, " sp");
    EXPECT_EQ(loaded[1].search, "a ");
    EXPECT_EQ(loaded[2].bucket, "\"x");
    EXPECT_EQ(loaded[2].search, "z\"");

    HeaderRuleList saved;
    saveHeaderRules(saved, loaded, profile, ::pluginIniPath(files));
    HeaderRuleList reloaded;
    loadHeaderRules(reloaded, profile, ::pluginIniPath(files));
    ASSERT_EQ(reloaded.size(), loaded.size());
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        EXPECT_EQ(reloaded[i].bucket, loaded[i].bucket) << i;
        EXPECT_EQ(reloaded[i].header, loaded[i].header) << i;
        EXPECT_EQ(reloaded[i].search, loaded[i].search) << i;
    }
    EXPECT_EQ(readPluginIni("Setup", "URL"), "x");
}

TEST_F(ProfileStoreTest, SortRulesLoadInFileOrder)
{
    writePluginIni("[MoveMail]\r\nzeta=ごみ箱\r\nalpha=郵便受け\r\nmiddle=仕事\r\n"
                   "[Action]\r\nzeta=2\r\nalpha=0\r\nmiddle=1\r\n"
                   "[Mark]\r\nzeta=3\r\nalpha=0\r\nmiddle=7\r\n");
    SortRuleList rules;
    loadSortRules(rules, profile, files);
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].bucket, "zeta");
    EXPECT_EQ(rules[0].folder, "ごみ箱");
    EXPECT_EQ(rules[0].action, 2);
    EXPECT_EQ(rules[0].mark, 3);
    EXPECT_EQ(rules[1].bucket, "alpha");
    EXPECT_EQ(rules[2].bucket, "middle");
    EXPECT_EQ(rules[2].folder, "仕事");
    EXPECT_EQ(rules[2].mark, 7);
}

}  // namespace
