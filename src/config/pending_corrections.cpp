#include "config/pending_corrections.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "base/profile_store.h"
#include "config/ini_sections.h"

namespace {
constexpr const char* kSection = "PendingCorrection";
constexpr const char* kDateSection = "PendingCorrectionDate";
// Keys of the section and values, as the system lists and reads them.
constexpr std::size_t kKeyListSize = 4096;
constexpr std::size_t kValueSize = 512;

bool IsDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

// The decimal number text[start, end) holds, when it is one above 0 that fits 32 bits.
std::optional<int32_t> PositiveNumber(const std::string& text, std::size_t start, std::size_t end)
{
    if (start >= end || end - start > 10) {
        return std::nullopt;
    }
    int64_t number = 0;
    for (std::size_t i = start; i < end; ++i) {
        if (!IsDigit(text[i])) {
            return std::nullopt;
        }
        number = number * 10 + (text[i] - '0');
    }
    if (number <= 0 || number > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(number);
}

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, int64_t& year, int64_t& month, int64_t& day)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex + (monthIndex < 10 ? 3 : -9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

bool Older(const PendingCorrection& pending, int32_t today)
{
    return static_cast<int64_t>(today) - pending.day > kPendingCorrectionDays;
}
}  // namespace

std::optional<PendingCorrection> ParsePendingCorrection(const std::string& value)
{
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos || comma + 1 >= value.size()) {
        return std::nullopt;
    }
    const std::optional<int32_t> number = PositiveNumber(value, 0, comma);
    const std::string bucket = value.substr(comma + 1);
    if (!number || bucket.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
        return std::nullopt;
    }
    PendingCorrection pending;
    pending.messageNumber = *number;
    pending.bucket = bucket;
    return pending;
}

std::string EncodePendingCorrection(const PendingCorrection& pending)
{
    return std::to_string(pending.messageNumber) + "," + pending.bucket;
}

std::string DayText(int32_t day)
{
    int64_t year = 0;
    int64_t month = 0;
    int64_t dayOfMonth = 0;
    CivilFromDays(day, year, month, dayOfMonth);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(dayOfMonth));
    return text;
}

std::optional<int32_t> ParseDayText(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!IsDigit(text[i])) {
            return std::nullopt;
        }
    }
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    if (month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    const int64_t days = DaysFromCivil(year, month, day);
    if (DayText(static_cast<int32_t>(days)) != text) {
        return std::nullopt;  // a day the month does not have
    }
    return static_cast<int32_t>(days);
}

int32_t Today()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<int32_t>(std::chrono::duration_cast<std::chrono::hours>(now).count() / 24);
}

PendingCorrectionList LoadPendingCorrections(ProfileStore& profile, const std::string& iniPath,
                                             int32_t today)
{
    PendingCorrectionList list;
    const std::vector<std::string> keys =
        WholeKeyNames(profile.readKeyNames(iniPath, kSection, kKeyListSize), kKeyListSize);
    for (const std::string& key : keys) {
        std::optional<PendingCorrection> pending =
            ParsePendingCorrection(profile.readString(iniPath, kSection, key, "", kValueSize));
        if (!pending) {
            continue;
        }
        pending->day = ParseDayText(profile.readString(iniPath, kDateSection, key, "", kValueSize))
                           .value_or(today);
        // A message listed twice (a file edited by hand): the later entry is the newer one.
        ForgetPendingCorrection(list, pending->messageNumber);
        list.push_back(std::move(*pending));
    }
    DropStalePendingCorrections(list, today);
    return list;
}

void SavePendingCorrections(const PendingCorrectionList& list, ProfileStore& profile,
                            const std::string& iniPath)
{
    std::vector<std::string> values;
    std::vector<std::string> days;
    for (const PendingCorrection& pending : list) {
        values.push_back(EncodePendingCorrection(pending));
        days.push_back(DayText(pending.day));
    }
    RewriteNumberedKeys(profile, iniPath, kSection, kKeyListSize, values);
    RewriteNumberedKeys(profile, iniPath, kDateSection, kKeyListSize, days);
    profile.flush(iniPath);
}

void KeepPendingCorrection(PendingCorrectionList& list, PendingCorrection pending, int32_t today)
{
    ForgetPendingCorrection(list, pending.messageNumber);
    pending.day = today;
    list.push_back(std::move(pending));
    DropStalePendingCorrections(list, today);
}

bool ForgetPendingCorrection(PendingCorrectionList& list, int32_t messageNumber)
{
    const auto found = std::find_if(list.begin(), list.end(), [messageNumber](const auto& pending) {
        return pending.messageNumber == messageNumber;
    });
    if (found == list.end()) {
        return false;
    }
    list.erase(found);
    return true;
}

void DropStalePendingCorrections(PendingCorrectionList& list, int32_t today)
{
    list.erase(std::remove_if(list.begin(), list.end(),
                              [today](const PendingCorrection& pending) { return Older(pending, today); }),
               list.end());
    if (list.size() > kMostPendingCorrections) {
        list.erase(list.begin(), list.end() - static_cast<std::ptrdiff_t>(kMostPendingCorrections));
    }
}
