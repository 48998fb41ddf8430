// Base fixture for tests of the plug-in's own INI file: a ProfileStoreFake and a
// FileSystemFake that answers "does the file exist" from it, so a file counts as existing
// once something was written to it, as on disk.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "doubles/file_system_fake.h"
#include "doubles/profile_store_fake.h"

// Where the plug-in puts its INI file for FileSystemFake's default program path.
inline const std::string kTestPluginIni = "C:\\Program Files\\Corvane32\\Plugins\\tarnwick.ini";

class PluginIniTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        files.addExistenceCheck([this](const std::string& path) { return profile.exists(path); });
    }

    // Loads tests/data/ini/<name> as the plug-in's INI file.
    void LoadFixture(const std::string& name)
    {
        ASSERT_TRUE(profile.loadFromDisk(kTestPluginIni, TestDataPath("ini/" + name))) << name;
    }

    // tests/data/ini/<name> in the fake's canonical text form, to compare whole files.
    std::string Fixture(const std::string& name)
    {
        return ProfileStoreFake::Canonical(ReadDiskFile(TestDataPath("ini/" + name)));
    }

    ProfileStoreFake profile;
    FileSystemFake files;
};
