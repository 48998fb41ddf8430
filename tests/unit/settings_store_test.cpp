#include "config/settings_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/rule_store.h"
#include "doubles/file_system_fake.h"
#include "doubles/plugin_ini_test.h"
#include "doubles/profile_store_fake.h"

namespace {

const std::string& kIni = kTestPluginIni;

class SettingsStoreTest : public PluginIniTest {
protected:

    std::vector<ProfileCall> Writes() const
    {
        std::vector<ProfileCall> writes;
        for (const ProfileCall& call : profile.calls()) {
            if (call.kind != ProfileCall::Kind::ReadString &&
                call.kind != ProfileCall::Kind::ReadKeyNames) {
                writes.push_back(call);
            }
        }
        return writes;
    }

    PluginSettings settings;
};

ProfileCall Write(const std::string& key, const std::string& value)
{
    return {ProfileCall::Kind::WriteString, kIni, "Setup", key, value};
}

ProfileCall Flush()
{
    return {ProfileCall::Kind::Flush, kIni, "", "", ""};
}

TEST(ProfileNumberTest, ReadsLikeTheCLibraryWithoutOverflow)
{
    struct Row {
        const char* text;
        int32_t number;
    };
    const Row rows[] = {
        {"", 0},
        {"0", 0},
        {"42", 42},
        {"  \t42", 42},
        {"\r\n7", 7},
        {"+5", 5},
        {"-7", -7},
        {" +0012", 12},
        {"12abc", 12},
        {"3 4", 3},
        {"abc", 0},
        {"- 5", 0},
        {"--5", 0},
        {"+-5", 0},
        {"0x10", 0},
        {"yes", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-2147483649", -2147483647 - 1},
        {"99999999999999999999999999", 2147483647},
        {"-99999999999999999999999999", -2147483647 - 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ProfileNumber(row.text), row.number) << '"' << row.text << '"';
    }
}

TEST(PluginIniPathTest, ReplacesTheProgramNameBySuffix)
{
    FileSystemFake files;
    files.setMainExecutablePath("C:\\Program Files\\Corvane32\\Corvane32.exe");
    EXPECT_EQ(pluginIniPath(files), "C:\\Program Files\\Corvane32\\Plugins\\tarnwick.ini");

    // The trail byte of "ソ" is 0x5C too; the last one is still the real separator.
    files.setMainExecutablePath("D:\\ソフト\\Corvane32.exe");
    EXPECT_EQ(pluginIniPath(files), "D:\\ソフト\\Plugins\\tarnwick.ini");

    files.setMainExecutablePath("Corvane32.exe");
    EXPECT_EQ(pluginIniPath(files), "Corvane32.exe\\Plugins\\tarnwick.ini");
}

TEST(PluginIniPathTest, KeepsTheProgramPathCutOfA260ByteBuffer)
{
    // 260 bytes less the 21 of "\Plugins\tarnwick.ini" leave 239 for the name, of which
    // the system fills 238 and a NUL.
    FileSystemFake files;
    const std::string folder234 = "C:\\" + std::string(234, 'd');
    files.setMainExecutablePath(folder234 + "\\y");  // 239 bytes: only "y" is lost
    EXPECT_EQ(pluginIniPath(files), folder234 + "\\Plugins\\tarnwick.ini");

    const std::string folder235 = "C:\\" + std::string(235, 'd');
    files.setMainExecutablePath(folder235 + "\\y");  // 240 bytes: the separator is lost too
    EXPECT_EQ(pluginIniPath(files), "C:\\Plugins\\tarnwick.ini");

    files.setMainExecutablePath("C:\\" + std::string(100, 'a') + "\\" + std::string(300, 'b') +
                                "\\Corvane32.exe");
    const std::string path = pluginIniPath(files);
    EXPECT_EQ(path, "C:\\" + std::string(100, 'a') + "\\Plugins\\tarnwick.ini");
    EXPECT_LT(path.size(), 260u);
}

TEST_F(SettingsStoreTest, FirstStartCreatesTheFileWithDefaults)
{
    SortRuleList rules;
    loadSortRules(rules, profile, files);  // start-up order: rules first
    loadSettings(settings, profile, files);

    EXPECT_EQ(settings.FromLength, 0);
    EXPECT_TRUE(settings.DispDialog);
    EXPECT_FALSE(settings.Beep);
    EXPECT_TRUE(settings.DispFrom);
    EXPECT_TRUE(settings.DispSubject);
    EXPECT_FALSE(settings.CheckConnect);
    EXPECT_FALSE(settings.AfterSetBold);
    EXPECT_EQ(settings.SubjectEdit, 0);
    EXPECT_EQ(settings.URL, "");
    EXPECT_FALSE(settings.AutoReceive);
    EXPECT_EQ(settings.winLeft, 0);
    EXPECT_EQ(settings.winTop, 0);
    EXPECT_EQ(settings.winWidth, 400);

    EXPECT_EQ(profile.text(kIni), Fixture("first_start.ini"));
    EXPECT_EQ(profile.flushCount(kIni), 2);
}

TEST_F(SettingsStoreTest, ReadsTheKeysInOrderWithTheirDefaults)
{
    LoadFixture("current.ini");
    loadSettings(settings, profile, files);

    std::vector<std::pair<std::string, std::string>> reads;
    for (const ProfileCall& call : profile.calls()) {
        ASSERT_EQ(call.kind, ProfileCall::Kind::ReadString);
        EXPECT_EQ(call.section, "Setup");
        reads.emplace_back(call.key, call.value);
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"FromLength", "0"},  {"CheckConnect", ""}, {"AfterSetBold", "0"},
        {"SubjectEdit", "0"}, {"URL", ""},          {"AutoReceive", "0"},
        {"winLeft", "0"},     {"winTop", "0"},      {"winWidth", "400"},
    };
    EXPECT_EQ(reads, expected);
}

TEST_F(SettingsStoreTest, LoadsACurrentFileAndIgnoresTheFixedFlags)
{
    LoadFixture("current.ini");
    loadSettings(settings, profile, files);

    EXPECT_EQ(settings.FromLength, 40);
    // The file says DispDialog=0, Beep=1, DispFrom=0, DispSubject=0: none is read.
    EXPECT_TRUE(settings.DispDialog);
    EXPECT_FALSE(settings.Beep);
    EXPECT_TRUE(settings.DispFrom);
    EXPECT_TRUE(settings.DispSubject);
    EXPECT_TRUE(settings.CheckConnect);
    EXPECT_TRUE(settings.AfterSetBold);
    EXPECT_EQ(settings.SubjectEdit, 1);
    EXPECT_EQ(settings.URL, "http://127.0.0.1:8081/");
    EXPECT_TRUE(settings.AutoReceive);
    EXPECT_EQ(settings.winLeft, -120);
    EXPECT_EQ(settings.winTop, 35);
    EXPECT_EQ(settings.winWidth, 520);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SettingsStoreTest, ToleratesAHandEditedFile)
{
    LoadFixture("odd.ini");
    loadSettings(settings, profile, files);

    EXPECT_EQ(settings.FromLength, 12);            // "+12abc"
    EXPECT_FALSE(settings.CheckConnect);           // present but empty
    EXPECT_TRUE(settings.AfterSetBold);            // -1
    EXPECT_EQ(settings.SubjectEdit, 2147483647);   // 99999999999
    EXPECT_EQ(settings.URL, "http://localhost:8080/");
    EXPECT_FALSE(settings.AutoReceive);            // "yes"
    EXPECT_EQ(settings.winLeft, -2147483647 - 1);  // -2147483649
    EXPECT_EQ(settings.winTop, 0);                 // "0x20"
    EXPECT_EQ(settings.winWidth, 0);               // "wide": present, so not 400

    // The empty CheckConnect is rewritten in place, keeping the file's spelling.
    EXPECT_EQ(Writes(), (std::vector<ProfileCall>{Write("CheckConnect", "0"), Flush()}));
    EXPECT_EQ(profile.value(kIni, "setup", "CheckConnect"), "0");
    EXPECT_NE(profile.text(kIni).find("[setup]\nfromlength=+12abc\nCheckConnect=0\n"),
              std::string::npos);
}

TEST_F(SettingsStoreTest, FlagValues)
{
    struct Row {
        const char* text;
        bool autoReceive;
        bool afterSetBold;
    };
    const Row rows[] = {
        {"AutoReceive=yes\nAfterSetBold=-1\n", false, true},
        {"AutoReceive=2\nAfterSetBold=0\n", true, false},
        {"AutoReceive=\nAfterSetBold=  1\n", false, true},
        {"AutoReceive= -0\nAfterSetBold=00\n", false, false},
        {"AutoReceive=1x\nAfterSetBold=x1\n", true, false},
    };
    for (const Row& row : rows) {
        ProfileStoreFake profile;
        profile.loadText(kIni, std::string("[Setup]\nCheckConnect=0\n") + row.text);
        PluginSettings loaded;
        loadSettings(loaded, profile, files);
        EXPECT_EQ(loaded.AutoReceive, row.autoReceive) << row.text;
        EXPECT_EQ(loaded.AfterSetBold, row.afterSetBold) << row.text;
    }
}

TEST_F(SettingsStoreTest, EmptyCheckConnectIsRewrittenAsZero)
{
    profile.loadText(kIni, "[Setup]\nCheckConnect=\nURL=http://x/\n");
    loadSettings(settings, profile, files);
    EXPECT_FALSE(settings.CheckConnect);
    EXPECT_EQ(Writes(), (std::vector<ProfileCall>{Write("CheckConnect", "0"), Flush()}));
    EXPECT_EQ(profile.text(kIni), "[Setup]\nCheckConnect=0\nURL=http://x/\n");

    // A value that reads as 0 is not empty and stays as it is.
    ProfileStoreFake other;
    other.loadText(kIni, "[Setup]\nCheckConnect=off\n");
    loadSettings(settings, other, files);
    EXPECT_FALSE(settings.CheckConnect);
    EXPECT_EQ(other.value(kIni, "Setup", "CheckConnect"), "off");
    EXPECT_EQ(other.flushCount(kIni), 0);
}

TEST_F(SettingsStoreTest, LongValuesAreSeenUpTo511Bytes)
{
    const std::string url = "http://127.0.0.1:8080/" + std::string(600, 'u');
    profile.loadText(kIni, "[Setup]\nCheckConnect=1\nURL=" + url + "\nwinWidth=" +
                               std::string(600, '7') + "\n");
    loadSettings(settings, profile, files);
    EXPECT_EQ(settings.URL, url.substr(0, 511));
    EXPECT_EQ(settings.winWidth, 2147483647);
}

TEST_F(SettingsStoreTest, SaveWritesTheDialogKeysInOrderAndFlushes)
{
    LoadFixture("current.ini");
    loadSettings(settings, profile, files);
    settings.CheckConnect = false;
    settings.AutoReceive = false;
    profile.clearCalls();

    saveSettings(settings, profile, files);

    EXPECT_EQ(Writes(), (std::vector<ProfileCall>{
                            Write("DispDialog", "1"), Write("Beep", "0"), Write("DispFrom", "1"),
                            Write("DispSubject", "1"), Write("CheckConnect", "0"),
                            Write("AfterSetBold", "1"), Write("SubjectEdit", "1"),
                            Write("URL", "http://127.0.0.1:8081/"), Write("AutoReceive", "0"),
                            Flush()}));
    // DispDialog=0 in the file had no effect and is now 1; FromLength and the window
    // keys are left as they were.
    EXPECT_EQ(profile.text(kIni), Fixture("saved_settings.ini"));
}

TEST_F(SettingsStoreTest, WindowPositionIsWrittenTopLeftWidthThenFlushed)
{
    settings.winLeft = -20;
    settings.winTop = 640;
    settings.winWidth = 512;
    saveWindowPosition(settings, profile, files);
    EXPECT_EQ(Writes(), (std::vector<ProfileCall>{Write("winTop", "640"), Write("winLeft", "-20"),
                                                  Write("winWidth", "512"), Flush()}));
}

TEST_F(SettingsStoreTest, LearnedUrlIsWrittenOnceAndAlone)
{
    profile.loadText(kIni, "[Setup]\nCheckConnect=0\n");
    loadSettings(settings, profile, files);
    profile.clearCalls();

    EXPECT_TRUE(writeLearnedUrl(settings, "http://127.0.0.1:8080/", profile, files));
    EXPECT_EQ(settings.URL, "http://127.0.0.1:8080/");
    EXPECT_EQ(Writes(), (std::vector<ProfileCall>{Write("URL", "http://127.0.0.1:8080/"), Flush()}));

    profile.clearCalls();
    EXPECT_FALSE(writeLearnedUrl(settings, "http://elsewhere:9090/", profile, files));
    EXPECT_EQ(settings.URL, "http://127.0.0.1:8080/");
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(profile.value(kIni, "Setup", "URL"), "http://127.0.0.1:8080/");
}

TEST_F(SettingsStoreTest, LearnedUrlNeverReplacesASetOne)
{
    LoadFixture("current.ini");
    loadSettings(settings, profile, files);
    EXPECT_FALSE(writeLearnedUrl(settings, "http://elsewhere:9090/", profile, files));
    EXPECT_EQ(settings.URL, "http://127.0.0.1:8081/");
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SettingsStoreTest, AnEmptyAddressIsNotLearned)
{
    EXPECT_FALSE(writeLearnedUrl(settings, "", profile, files));
    EXPECT_TRUE(Writes().empty());
    EXPECT_FALSE(profile.exists(kIni));
}

}  // namespace
