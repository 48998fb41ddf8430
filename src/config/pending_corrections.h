// Corrections POPFile was not told of, kept in the INI file until a later contact with POPFile
// delivers them, so that no correction vanishes without a trace. Section "PendingCorrection"
// holds one key per notice, "1", "2", ... oldest first, valued "<message number>,<bucket>";
// section "PendingCorrectionDate" holds the day each was kept under the same key
// ("2026-12-09"), for the age limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ProfileStore;

struct PendingCorrection {
    int32_t messageNumber = 0;  // POPFile's number of the message, above 0
    std::string bucket;         // the bucket the user chose
    int32_t day = 0;            // when it was kept: days since 1970-01-01
};

using PendingCorrectionList = std::vector<PendingCorrection>;  // oldest first

// At most this many are kept; the oldest go first.
inline constexpr std::size_t kMostPendingCorrections = 100;
// POPFile keeps its history for two days by default: older notices are of no use to it.
inline constexpr int32_t kPendingCorrectionDays = 7;

// "<message number>,<bucket>": a number above 0 in decimal, a comma, then a bucket of one
// byte at least without a line break. Nothing for any other value.
std::optional<PendingCorrection> ParsePendingCorrection(const std::string& value);
std::string EncodePendingCorrection(const PendingCorrection& pending);

// "YYYY-MM-DD" of a day number and back; nothing for a text that is not such a date.
std::string DayText(int32_t day);
std::optional<int32_t> ParseDayText(const std::string& text);

// Today's day number, by the system's clock (UTC).
int32_t Today();

// The list the file holds, in key order; values that do not parse are left out, a message
// listed twice keeps its later entry, an entry without a readable date counts as kept today,
// and what DropStalePendingCorrections drops is left out.
PendingCorrectionList LoadPendingCorrections(ProfileStore& profile, const std::string& iniPath,
                                             int32_t today);

// Rewrites both sections with the list as keys 1..n (removing them when it is empty), then
// flushes.
void SavePendingCorrections(const PendingCorrectionList& list, ProfileStore& profile,
                            const std::string& iniPath);

// Keeps pending at the end, replacing an entry for the same message, then drops what is
// too old or beyond the most that are kept.
void KeepPendingCorrection(PendingCorrectionList& list, PendingCorrection pending, int32_t today);

// Takes out the entry for messageNumber; whether there was one.
bool ForgetPendingCorrection(PendingCorrectionList& list, int32_t messageNumber);

// Drops the entries kept more than kPendingCorrectionDays days before today, and the oldest
// beyond kMostPendingCorrections.
void DropStalePendingCorrections(PendingCorrectionList& list, int32_t today);
