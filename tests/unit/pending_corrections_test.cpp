#include "config/pending_corrections.h"

#include <gtest/gtest.h>

#include <string>

#include "doubles/plugin_ini_test.h"

namespace {

constexpr int32_t kToday = 20431;  // 2025-12-09

PendingCorrection Pending(int32_t number, const std::string& bucket)
{
    PendingCorrection pending;
    pending.messageNumber = number;
    pending.bucket = bucket;
    return pending;
}

std::string Numbers(const PendingCorrectionList& list)
{
    std::string numbers;
    for (const PendingCorrection& pending : list) {
        numbers += (numbers.empty() ? "" : " ") + std::to_string(pending.messageNumber);
    }
    return numbers;
}

TEST(PendingCorrectionsTest, ValuesAndDatesReadBackAsWritten)
{
    EXPECT_EQ(DayText(kToday), "2025-12-09");
    EXPECT_EQ(ParseDayText("2025-12-09"), kToday);
    EXPECT_EQ(ParseDayText("2024-02-29").value() + 1, ParseDayText("2024-03-01"));
    for (const char* bad : {"2025-02-29", "2025-13-01", "2025-1-01", "20251209", ""}) {
        EXPECT_EQ(ParseDayText(bad), std::nullopt) << bad;
    }
    const std::optional<PendingCorrection> parsed = ParsePendingCorrection("17,work");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->messageNumber, 17);
    EXPECT_EQ(parsed->bucket, "work");
    EXPECT_EQ(EncodePendingCorrection(*parsed), "17,work");
    EXPECT_EQ(ParsePendingCorrection("18,a,b")->bucket, "a,b");
    for (const char* bad : {"", "17", "17,", ",work", "0,work", "-3,work", "x7,work",
                            "99999999999,work", "17,wo\nrk"}) {
        EXPECT_EQ(ParsePendingCorrection(bad), std::nullopt) << bad;
    }
}

TEST(PendingCorrectionsTest, OneEntryPerMessageTheNewestLastAtMostAHundredAndAWeek)
{
    PendingCorrectionList list;
    KeepPendingCorrection(list, Pending(1, "spam"), kToday - 8);
    KeepPendingCorrection(list, Pending(2, "work"), kToday - 7);
    KeepPendingCorrection(list, Pending(3, "work"), kToday);
    EXPECT_EQ(Numbers(list), "2 3") << "eight days are too old, seven are not";
    KeepPendingCorrection(list, Pending(2, "personal"), kToday);
    EXPECT_EQ(Numbers(list), "3 2");
    EXPECT_EQ(list[1].bucket, "personal");
    EXPECT_TRUE(ForgetPendingCorrection(list, 3));
    EXPECT_FALSE(ForgetPendingCorrection(list, 3));
    for (int32_t number = 100; number < 205; ++number) {
        KeepPendingCorrection(list, Pending(number, "spam"), kToday);
    }
    ASSERT_EQ(list.size(), kMostPendingCorrections);
    EXPECT_EQ(list.front().messageNumber, 105) << "the oldest went first";
    EXPECT_EQ(list.back().messageNumber, 204);
}

class PendingCorrectionsFileTest : public PluginIniTest {};

TEST_F(PendingCorrectionsFileTest, SavedListLoadsBackAndADamagedFileLoadsWhatItCan)
{
    PendingCorrectionList list = {Pending(17, "work"), Pending(18, "spam")};
    list[0].day = kToday - 2;
    list[1].day = kToday;
    SavePendingCorrections(list, profile, kTestPluginIni);
    EXPECT_EQ(profile.value(kTestPluginIni, "PendingCorrection", "1"), "17,work");
    EXPECT_EQ(profile.value(kTestPluginIni, "PendingCorrectionDate", "1"), "2025-12-07");
    const PendingCorrectionList loaded = LoadPendingCorrections(profile, kTestPluginIni, kToday);
    ASSERT_EQ(Numbers(loaded), "17 18");
    EXPECT_EQ(loaded[0].day, kToday - 2);

    profile.loadText(kTestPluginIni, "[PendingCorrection]\n1=17,work\n2=junk\n3=19,spam\n"
                                     "4=17,personal\n5=20,old\n"
                                     "[PendingCorrectionDate]\n1=2025-12-08\n3=not a date\n"
                                     "5=2025-11-01\n");
    const PendingCorrectionList damaged = LoadPendingCorrections(profile, kTestPluginIni, kToday);
    EXPECT_EQ(Numbers(damaged), "19 17") << "junk and the too old left out, 17 once";
    EXPECT_EQ(damaged[0].day, kToday) << "no readable date counts as today";
    EXPECT_EQ(damaged[1].bucket, "personal");

    SavePendingCorrections({}, profile, kTestPluginIni);
    EXPECT_TRUE(LoadPendingCorrections(profile, kTestPluginIni, kToday).empty());
}

}  // namespace
