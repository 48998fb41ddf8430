#include "plugin/startup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/platform.h"
#include "mailbox/mailbox.h"
#include "plugin/plugin_state.h"
#include "doubles/code_page_converter_fake.h"
#include "doubles/file_system_fake.h"
#include "doubles/plugin_ini_test.h"
#include "doubles/profile_store_fake.h"

namespace {

const std::string& kIni = kTestPluginIni;

// One shared log for everything the start-up and the copy touch, so that the order of
// calls across host, system and INI file shows.
std::vector<std::string>* eventLog = nullptr;

void Log(const std::string& event)
{
    if (eventLog != nullptr) {
        eventLog->push_back(event);
    }
}

struct HostAnswers {
    int save = 1;
    int import = 1;
    std::string savedText = "From: a\r\n\r\nbody\r\n";  // written into the file on save
    std::string importedText;                           // what import found in the file
} hostAnswers;

int TW_STDCALL SaveMail(const char* mail, const char* file, int reserved1, int reserved2)
{
    Log(std::string("APASaveMail ") + mail + " -> " + file + " " + std::to_string(reserved1) +
        " " + std::to_string(reserved2));
    std::ofstream out(file, std::ios::binary);
    out << hostAnswers.savedText;
    return hostAnswers.save;
}

int TW_STDCALL ImportFile(const char* file, const char* destination, int reserved)
{
    Log(std::string("APAImportFile ") + file + " -> " + destination + " " +
        std::to_string(reserved));
    std::ifstream in(file, std::ios::binary);
    hostAnswers.importedText.assign(std::istreambuf_iterator<char>(in), {});
    return hostAnswers.import;
}

int TW_STDCALL DeleteMail(const char* mail)
{
    Log(std::string("APADeleteMail ") + mail);
    return 0;  // its result is not looked at
}

unsigned TW_STDCALL RegistCallback(HostCommandProc callback, intptr_t parameter)
{
    Log("APARegistCallback " + std::string(callback != nullptr ? "callback" : "null") + " " +
        std::to_string(parameter));
    return 40123;
}

void TW_STDCALL SummaryCallback(HostWindow, intptr_t) {}

class StartUpSystemFake : public StartUpSystem {
public:
    int majorVersion = 6;
    void* selfReference = &majorVersion;

    int systemMajorVersion() override
    {
        Log("systemMajorVersion");
        return majorVersion;
    }
    void setApplicationId(const char* id) override { Log(std::string("setApplicationId ") + id); }
    void* loadSelfReference(const char* relativePath) override
    {
        Log(std::string("loadSelfReference ") + relativePath);
        return selfReference;
    }
};

// Logs the INI reads that mark the start of each load.
class LoggingProfileStore : public ProfileStoreFake {
public:
    std::vector<std::string> readKeyNames(const std::string& file, const std::string& section,
                                          std::size_t bufferSize) override
    {
        Log("readKeyNames " + section);
        return ProfileStoreFake::readKeyNames(file, section, bufferSize);
    }
    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue,
                           std::size_t bufferSize) override
    {
        if (section == "Setup" && key == "FromLength") {
            Log("read Setup");
        }
        return ProfileStoreFake::readString(file, section, key, defaultValue, bufferSize);
    }
};

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The host writes the message into the temporary file, so it must be real.
        ASSERT_FALSE(files.useRealTempFolder().empty());
        eventLog = &events;
        hostAnswers = HostAnswers{};
        host.APASaveMail = &SaveMail;
        host.APAImportFile = &ImportFile;
        host.APADeleteMail = &DeleteMail;
        host.APARegistCallback = &RegistCallback;
    }
    void TearDown() override { eventLog = nullptr; }

    std::vector<std::string> events;
    HostApi host;
    FileSystemFake files;
};

TEST_F(PluginTest, CopySavesImportsDeletesAndRemovesTheTemporaryFile)
{
    const std::string folder = files.tempFolder();
    EXPECT_TRUE(copyMailToFolder(host, files, "acc1\\inbox.box\\0001", "仕事\\顧客", true));

    ASSERT_EQ(files.createdTempFiles(), 1);
    const std::string temp = files.deleteCalls().at(0);
    EXPECT_EQ(temp.rfind(folder + "TAR", 0), 0u) << temp;
    EXPECT_EQ(events, (std::vector<std::string>{
                          "APASaveMail acc1\\inbox.box\\0001 -> " + temp + " 0 0",
                          "APAImportFile " + temp + " -> 仕事\\顧客 0",
                          "APADeleteMail acc1\\inbox.box\\0001",
                      }));
    EXPECT_EQ(hostAnswers.importedText, hostAnswers.savedText);
    EXPECT_TRUE(files.liveTempFiles().empty());
    EXPECT_EQ(files.deletedTempFiles(), 1);
}

TEST_F(PluginTest, CopyWithoutDeletingLeavesTheSource)
{
    EXPECT_TRUE(copyMailToFolder(host, files, "m", "f", false));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].rfind("APASaveMail m -> " + files.tempFolder() + "TAR", 0), 0u)
        << events[0];
    EXPECT_EQ(events[1].rfind("APAImportFile " + files.tempFolder() + "TAR", 0), 0u)
        << events[1];
    EXPECT_TRUE(files.liveTempFiles().empty());
}

TEST_F(PluginTest, AFailedSaveStopsBeforeImport)
{
    hostAnswers.save = 0;
    EXPECT_FALSE(copyMailToFolder(host, files, "m", "f", true));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].rfind("APASaveMail m -> ", 0), 0u);
    EXPECT_EQ(files.createdTempFiles(), 1);
    EXPECT_EQ(files.deletedTempFiles(), 1);
    EXPECT_TRUE(files.liveTempFiles().empty());
}

TEST_F(PluginTest, AFailedImportKeepsTheSource)
{
    hostAnswers.import = 0;
    EXPECT_FALSE(copyMailToFolder(host, files, "m", "f", true));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].rfind("APAImportFile ", 0), 0u);
    EXPECT_EQ(files.deletedTempFiles(), 1);
    EXPECT_TRUE(files.liveTempFiles().empty());
}

TEST_F(PluginTest, NoTemporaryFileMeansNoHostCall)
{
    files.failTempFiles(true);
    EXPECT_FALSE(copyMailToFolder(host, files, "m", "f", true));
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(files.deleteCalls().empty());
}

TEST_F(PluginTest, StartUpRunsItsStepsInOrder)
{
    LoggingProfileStore profile;
    profile.loadText(kIni, "[Setup]\nCheckConnect=1\n[MoveMail]\nwork=仕事\n[AdditionalHeader]\n"
                           "1=spam:X-Spam-Flag:::YES\n");
    files.addExistenceCheck([&profile](const std::string& path) { return profile.exists(path); });
    StartUpSystemFake system;
    PluginState state;
    state.host = host;
    state.reclassify.session.buckets = {"old"};
    state.reclassify.session.sessionKey = "stale";
    CodePageConverterFake codePage;
    Platform platform{profile, files, codePage};

    EXPECT_EQ(RunStartUp(state, platform, system, &SummaryCallback), 1);

    EXPECT_EQ(events, (std::vector<std::string>{
                          "systemMajorVersion",
                          "setApplicationId Corvane32",
                          "loadSelfReference Plugins/tarnwick.dll",
                          "APARegistCallback callback 0",
                          "readKeyNames MoveMail",
                          "read Setup",
                          "readKeyNames AdditionalHeader",
                      }));
    EXPECT_TRUE(state.windows6OrLater);
    EXPECT_EQ(state.selfReference, system.selfReference);
    EXPECT_EQ(state.summaryCommandId, 40123u);
    EXPECT_TRUE(state.reclassify.session.buckets.empty());
    EXPECT_TRUE(state.reclassify.session.sessionKey.empty());
    ASSERT_EQ(state.sortRules.size(), 1u);
    EXPECT_EQ(state.sortRules[0].folder, "仕事");
    EXPECT_TRUE(state.settings.CheckConnect);
    ASSERT_EQ(state.headerRules.size(), 1u);
    EXPECT_EQ(state.headerRules[0].header, "X-Spam-Flag:");
    EXPECT_TRUE(state.classifierWaitPending);
}

TEST_F(PluginTest, StartUpOnAnOlderSystemSetsNoApplicationId)
{
    ProfileStoreFake profile;
    StartUpSystemFake system;
    system.majorVersion = 5;
    system.selfReference = nullptr;
    PluginState state;
    state.host = host;
    CodePageConverterFake codePage;
    Platform platform{profile, files, codePage};

    EXPECT_EQ(RunStartUp(state, platform, system, &SummaryCallback), 1);

    EXPECT_FALSE(state.windows6OrLater);
    EXPECT_EQ(events, (std::vector<std::string>{"systemMajorVersion",
                                                "loadSelfReference Plugins/tarnwick.dll",
                                                "APARegistCallback callback 0"}));
    // A failed self-load changes nothing else; the first start makes the file.
    EXPECT_EQ(state.selfReference, nullptr);
    EXPECT_FALSE(state.classifierWaitPending);
    ASSERT_EQ(state.sortRules.size(), 1u);
    EXPECT_EQ(state.sortRules[0].bucket, "spam");
    EXPECT_EQ(profile.value(kIni, "Setup", "CheckConnect"), "0");
}

}  // namespace
