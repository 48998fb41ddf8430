// Sections of the plug-in's INI file as a damaged file can hold them.
#pragma once

#include <cstddef>
#include <string>

class ProfileStore;

// Deletes section and every further copy of it a damaged file holds (a delete removes only the
// first), until none of its keys is left; keyListSize is the buffer its keys are listed into.
void DeleteEveryCopyOfSection(ProfileStore& profile, const std::string& file,
                              const char* section, std::size_t keyListSize);
