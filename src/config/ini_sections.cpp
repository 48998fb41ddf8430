#include "config/ini_sections.h"

#include "base/profile_store.h"

namespace {

// Bounds the loops over repeated copies of a section, only so that a store whose delete
// fails cannot loop for ever; a file would need kilobytes of repeated headers to reach it.
constexpr int kMostCopies = 1024;

// Blanks as the reader sees them around a value: C white space and ^Z.
bool IsProfileBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' ||
           c == '\x1a';
}

// Whether keys are exactly "1", "2", ... count.
bool AreNumberedInOrder(const std::vector<std::string>& keys, std::size_t count)
{
    if (keys.size() != count) {
        return false;
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] != std::to_string(i + 1)) {
            return false;
        }
    }
    return true;
}

}  // namespace

// A damaged file can hold a section many times, and a delete removes only the first: delete
// until none of its keys is left, so that a save leaves nothing stale for the next load and
// later writes do not land among stale lines.
void DeleteEveryCopyOfSection(ProfileStore& profile, const std::string& file,
                              const char* section, std::size_t keyListSize)
{
    profile.deleteSection(file, section);
    for (int copy = 1;
         copy < kMostCopies && !profile.readKeyNames(file, section, keyListSize).empty(); ++copy) {
        profile.deleteSection(file, section);
    }
}

bool ProfileValueNeedsQuotes(const std::string& value)
{
    if (value.empty()) {
        return false;
    }
    const char first = value.front();
    const char last = value.back();
    return IsProfileBlank(first) || IsProfileBlank(last) ||
           (value.size() >= 2 && (first == '"' || first == '\'') && last == first);
}

std::string ProfileValueText(const std::string& value)
{
    return ProfileValueNeedsQuotes(value) ? '"' + value + '"' : value;
}

std::vector<std::string> WholeKeyNames(std::vector<std::string> names, std::size_t bufferSize)
{
    std::size_t used = 1;  // the list's closing NUL
    for (const std::string& name : names) {
        used += name.size() + 1;
    }
    if (!names.empty() && used >= bufferSize) {
        names.pop_back();
    }
    return names;
}


void RewriteNumberedKeys(ProfileStore& profile, const std::string& file, const char* section,
                         std::size_t keyListSize, const std::vector<std::string>& values)
{
    for (int copy = 0; copy < kMostCopies; ++copy) {
        DeleteEveryCopyOfSection(profile, file, section, keyListSize);
        for (std::size_t i = 0; i < values.size(); ++i) {
            profile.writeString(file, section, std::to_string(i + 1), ProfileValueText(values[i]));
        }
        const std::vector<std::string> keys =
            WholeKeyNames(profile.readKeyNames(file, section, keyListSize), keyListSize);
        if (AreNumberedInOrder(keys, values.size())) {
            return;
        }
    }
}
