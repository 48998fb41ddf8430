// The key-list splitter shared by the Win32 store and the fake, and the fake's emulation
// of the private-profile services that other tests rely on.
#include "base/profile_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/file_system_fake.h"
#include "doubles/profile_store_fake.h"

namespace {

using Names = std::vector<std::string>;

TEST(SplitKeyListTest, SplitsWithinTheReportedLength)
{
    const char list[] = "abc\0de\0f\0\0zz";  // a stray name after the end marker
    EXPECT_EQ(SplitKeyList(list, 10), (Names{"abc", "de", "f"}));
    EXPECT_EQ(SplitKeyList(list, 6), (Names{"abc", "de"}));  // "de" not terminated
    EXPECT_EQ(SplitKeyList(list, 4), (Names{"abc"}));
    EXPECT_EQ(SplitKeyList(list, 0), Names{});
    EXPECT_EQ(SplitKeyList("\0abc", 4), Names{});
}

TEST(ProfileStoreFakeTest, NamesIgnoreAsciiCaseButNotShiftJisTrailBytes)
{
    ProfileStoreFake profile;
    profile.writeString("f", "MoveMail", "Spam", "1");
    profile.writeString("f", "movemail", "SPAM", "2");
    EXPECT_EQ(profile.text("f"), "[MoveMail]\nSpam=2\n");

    // "ア" is 83 41 and "ヂ" is 83 61: the trail bytes look like "A" and "a".
    profile.writeString("f", "MoveMail", "ア", "a");
    profile.writeString("f", "MoveMail", "ヂ", "b");
    EXPECT_EQ(profile.readString("f", "MOVEMAIL", "ア", "", 512), "a");
    EXPECT_EQ(profile.readString("f", "MoveMail", "ヂ", "", 512), "b");
    EXPECT_EQ(profile.readKeyNames("f", "MoveMail", 4096), (Names{"Spam", "ア", "ヂ"}));
}

TEST(ProfileStoreFakeTest, ReadsCutValuesAndDefaults)
{
    ProfileStoreFake profile;
    profile.loadText("f", "[S]\nk=  abcdef  \nq=\"quoted\"\nh='half\nnovalue\n");
    EXPECT_EQ(profile.readString("f", "S", "k", "", 512), "abcdef");
    EXPECT_EQ(profile.readString("f", "S", "k", "", 4), "abc");
    EXPECT_EQ(profile.readString("f", "S", "q", "", 512), "quoted");
    EXPECT_EQ(profile.readString("f", "S", "h", "", 512), "'half");
    EXPECT_EQ(profile.readString("f", "S", "missing", "default  ", 512), "default");
    EXPECT_EQ(profile.readString("f", "S", "missing", "default", 4), "def");
    EXPECT_EQ(profile.readString("f", "S", "novalue", "d", 512), "d");
    EXPECT_EQ(profile.readString("f", "S", "", "d", 512), "");
    EXPECT_EQ(profile.readKeyNames("f", "S", 512), (Names{"k", "q", "h"}));
}

TEST(ProfileStoreFakeTest, CutsKeyListsAsTheSystemDoes)
{
    ProfileStoreFake profile;
    profile.loadText("f", "[S]\nabc=1\ndef=2\n");
    EXPECT_EQ(profile.readKeyNames("f", "S", 9), (Names{"abc", "def"}));  // fits with its end
    // Too small: the first size - 2 bytes of "abc\0def\0", then two NULs.
    EXPECT_EQ(profile.readKeyNames("f", "S", 8), (Names{"abc", "de"}));
    EXPECT_EQ(profile.readKeyNames("f", "S", 7), (Names{"abc", "d"}));
    EXPECT_EQ(profile.readKeyNames("f", "S", 6), (Names{"abc"}));
    EXPECT_EQ(profile.readKeyNames("f", "S", 5), (Names{"abc"}));
    EXPECT_EQ(profile.readKeyNames("f", "S", 4), (Names{"ab"}));
    EXPECT_EQ(profile.readKeyNames("f", "S", 2), Names{});
    EXPECT_EQ(profile.readKeyNames("f", "T", 512), Names{});
    EXPECT_EQ(profile.readKeyNames("missing", "S", 512), Names{});
}

TEST(ProfileStoreFakeTest, WritesAppendAndDeletesRemoveWholeSections)
{
    ProfileStoreFake profile;
    EXPECT_FALSE(profile.exists("f"));
    profile.deleteSection("f", "S");
    EXPECT_FALSE(profile.exists("f"));

    profile.writeString("f", "A", "x", "  1 ");
    profile.writeString("f", "B", "y", "2");
    profile.writeString("f", "A", "z", "3");
    EXPECT_TRUE(profile.exists("f"));
    EXPECT_EQ(profile.value("f", "A", "x"), "1");
    profile.writeString("f", "A", "x", "4");
    EXPECT_EQ(profile.text("f"), "[A]\nx=4\nz=3\n\n[B]\ny=2\n");
    EXPECT_EQ(profile.value("f", "A", "x"), "4");

    profile.deleteSection("f", "a");
    EXPECT_EQ(profile.text("f"), "[B]\ny=2\n");
    profile.flush("f");
    profile.flush("f");
    EXPECT_EQ(profile.flushCount("f"), 2);
    EXPECT_EQ(profile.flushCount("other"), 0);
}

TEST(ProfileStoreFakeTest, CanonicalFormIgnoresLineEndsAndBlanks)
{
    EXPECT_EQ(ProfileStoreFake::Canonical("\r\n[A]\r\n x = 1 \r\n\r\n\r\n[B]\r\ny=\r\n"),
              "[A]\nx=1\n\n[B]\ny=\n");
}

TEST(FileSystemFakeTest, VirtualTemporaryFiles)
{
    FileSystemFake files;
    const std::string first = files.createTempFile(files.tempFolder(), "TARNWICK");
    const std::string second = files.createTempFile(files.tempFolder(), "TARNWICK");
    EXPECT_EQ(first.rfind("C:\\Temp\\TAR", 0), 0u);
    EXPECT_NE(first, second);
    EXPECT_TRUE(files.fileExists(first));
    EXPECT_TRUE(files.deleteFile(first));
    EXPECT_FALSE(files.fileExists(first));
    EXPECT_FALSE(files.deleteFile(first));
    EXPECT_EQ(files.createdTempFiles(), 2);
    EXPECT_EQ(files.deletedTempFiles(), 1);
    EXPECT_EQ(files.liveTempFiles(), (std::vector<std::string>{second}));

    files.failTempFiles(true);
    EXPECT_EQ(files.createTempFile(files.tempFolder(), "TARNWICK"), "");
}

TEST(FileSystemFakeTest, RealTemporaryFolderIsRemovedWithTheFake)
{
    std::string folder;
    std::string file;
    {
        FileSystemFake files;
        folder = files.useRealTempFolder();
        ASSERT_FALSE(folder.empty());
        file = files.createTempFile(folder, "TARNWICK");
        ASSERT_FALSE(file.empty());
        EXPECT_TRUE(files.fileExists(file));
        EXPECT_TRUE(files.replaceFile(file, folder + "moved"));
        EXPECT_FALSE(files.fileExists(file));
        EXPECT_TRUE(files.fileExists(folder + "moved"));
        files.setFileExists(folder + "moved", false);
        EXPECT_FALSE(files.fileExists(folder + "moved"));
    }
    EXPECT_TRUE(ReadDiskFile(folder + "moved").empty());
    FileSystemFake after;
    EXPECT_FALSE(after.fileExists(folder + "moved"));
}

}  // namespace
