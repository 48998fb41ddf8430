// Sections of the plug-in's INI file as a damaged file can hold them, and values written so
// that the system's reader gives them back as they were.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class ProfileStore;

// Deletes section and every further copy of it a damaged file holds (a delete removes only the
// first), until none of its keys is left; keyListSize is the buffer its keys are listed into.
void DeleteEveryCopyOfSection(ProfileStore& profile, const std::string& file,
                              const char* section, std::size_t keyListSize);

// Whether the reader would change value: it drops blanks around a value and a pair of matching
// quotes that encloses it. Such a value is written in double quotes, which the read takes off.
bool ProfileValueNeedsQuotes(const std::string& value);

// The text to write so that a read gives value back unchanged.
std::string ProfileValueText(const std::string& value);

// The names of a key list as the reader lists them into bufferSize bytes, less a last name
// that may have been cut at the buffer's end ("spam" from "spammy"): names fill at most
// bufferSize - 1 bytes when whole, so a list that reaches that length is not trusted whole.
std::vector<std::string> WholeKeyNames(std::vector<std::string> names, std::size_t bufferSize);

// Rewrites section as keys "1", "2", ... holding values in order, each as ProfileValueText.
// A copy of the section made only of lines without "=" lists no keys and survives the
// deletion; a write whose key such a line names would fill that line ahead of the others.
// A copy whose first key name starts with a NUL byte lists no keys at all, and so hides every
// key written into it. So until exactly the keys written read back, in order, the copy that
// took them is deleted and they are written again. Nothing is flushed.
void RewriteNumberedKeys(ProfileStore& profile, const std::string& file, const char* section,
                         std::size_t keyListSize, const std::vector<std::string>& values);
