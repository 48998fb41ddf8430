// The pending corrections as the INI file holds them after any damage: what loads is a list
// of at most 100 entries, one per message, none too old, each with a number above 0 and a
// bucket without a line break, and what a save writes loads back the same.
#include <set>

#include "config/pending_corrections.h"
#include "doubles/profile_store_fake.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const int32_t today = 20000 + input.byte();
    const std::string text(input.rest());
    ProfileStoreFake profile;
    const std::string ini = "C:\\Corvane32\\Plugins\\tarnwick.ini";
    profile.loadText(ini, text);

    const PendingCorrectionList loaded = LoadPendingCorrections(profile, ini, today);
    FUZZ_CHECK(loaded.size() <= kMostPendingCorrections);
    std::set<int32_t> numbers;
    for (const PendingCorrection& pending : loaded) {
        FUZZ_CHECK(pending.messageNumber > 0);
        FUZZ_CHECK(numbers.insert(pending.messageNumber).second);
        FUZZ_CHECK(!pending.bucket.empty());
        FUZZ_CHECK(pending.bucket.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(today - pending.day <= kPendingCorrectionDays);
        FUZZ_CHECK(ParseDayText(DayText(pending.day)) == pending.day);
    }

    SavePendingCorrections(loaded, profile, ini);
    const PendingCorrectionList reloaded = LoadPendingCorrections(profile, ini, today);
    FUZZ_CHECK(reloaded.size() == loaded.size());
    for (std::size_t i = 0; i < reloaded.size() && i < loaded.size(); ++i) {
        FUZZ_CHECK(reloaded[i].messageNumber == loaded[i].messageNumber);
        FUZZ_CHECK(reloaded[i].day == loaded[i].day);
        FUZZ_CHECK(reloaded[i].bucket == loaded[i].bucket);
    }
    return 0;
}
