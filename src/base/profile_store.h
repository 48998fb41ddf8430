// Access to a private-profile (INI) file, the only way the plug-in reads and writes its
// configuration. The Win32 implementation wraps Get/WritePrivateProfileStringA; tests use
// an in-memory double that behaves like it (case-insensitive names, cut buffers).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // The value of section/key, or defaultValue when the key is missing, as the system
    // copies it into a buffer of bufferSize bytes: at most bufferSize - 1 bytes are kept.
    virtual std::string readString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& defaultValue,
                                   std::size_t bufferSize) = 0;

    // The key names of a section in file order, as the system lists them into a buffer of
    // bufferSize bytes (each name and the list end with a NUL): names that do not fit are
    // missing and the last one may be cut.
    virtual std::vector<std::string> readKeyNames(const std::string& file,
                                                  const std::string& section,
                                                  std::size_t bufferSize) = 0;

    // Writes section/key = value, creating the file, section or key as needed.
    virtual void writeString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;

    // Removes a whole section (a write with a null key).
    virtual void deleteSection(const std::string& file, const std::string& section) = 0;

    // Flushes cached writes to disk (a write with section, key and value all null).
    virtual void flush(const std::string& file) = 0;
};

// The names in a key list as the system leaves it in a buffer: NUL-terminated names one
// after the other, of which only the first length bytes count (the system's reported
// length). A name not terminated within length is taken as it stands; the first empty
// name ends the list. Never reads beyond length bytes.
std::vector<std::string> SplitKeyList(const char* list, std::size_t length);
