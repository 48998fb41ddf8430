// Reading and writing the "Setup" section of the plug-in's INI file.
#pragma once

#include <string>

#include "config/settings.h"

class ProfileStore;
class FileSystem;

// Full path of Plugins\tarnwick.ini below the host's program folder, formed as into a
// buffer of 260 bytes: the program path is cut so that the whole path fits.
std::string pluginIniPath(FileSystem& files);

// Reads "Setup" into settings (once, at start-up). Writes CheckConnect=0 and flushes when
// that key is missing or empty.
void loadSettings(PluginSettings& settings, ProfileStore& profile, FileSystem& files);

// Writes the keys the other-settings dialog edits, then flushes.
void saveSettings(const PluginSettings& settings, ProfileStore& profile, FileSystem& files);

// Writes the notification window's position keys winTop, winLeft and winWidth, in that
// order, then flushes.
void saveWindowPosition(const PluginSettings& settings, ProfileStore& profile, FileSystem& files);

// Sets URL to a learned classifier address when URL is empty and writes that key alone.
// Returns true when the address was taken; an empty address is never taken.
bool writeLearnedUrl(PluginSettings& settings, const std::string& address, ProfileStore& profile,
                     FileSystem& files);

// The number a profile value stands for: blanks skipped, optional sign, digits; 0 for none.
// Values beyond the 32-bit range stick at its limits.
int32_t ProfileNumber(const std::string& value);
