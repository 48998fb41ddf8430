#include "config/ini_sections.h"

#include "base/profile_store.h"

// A damaged file can hold a section many times, and a delete removes only the first: delete
// until none of its keys is left, so that a save leaves nothing stale for the next load and
// later writes do not land among stale lines. The bound only keeps a store whose delete
// fails from looping for ever; a file would need kilobytes of repeated headers to reach it.
void DeleteEveryCopyOfSection(ProfileStore& profile, const std::string& file,
                              const char* section, std::size_t keyListSize)
{
    constexpr int kMostCopies = 1024;
    profile.deleteSection(file, section);
    for (int copy = 1;
         copy < kMostCopies && !profile.readKeyNames(file, section, keyListSize).empty(); ++copy) {
        profile.deleteSection(file, section);
    }
}
