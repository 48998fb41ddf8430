// In-memory private-profile files for native tests. Behaves like the system's
// Get/WritePrivateProfileStringA where the plug-in can notice the difference:
//
// - Files are keyed by the exact path string given; nothing touches the disk. A file
//   "exists" once it has been loaded from text or written to (a write creates it, as the
//   system does; deleting a section of a missing file creates nothing).
// - Section and key names compare without regard to ASCII letter case (Shift-JIS aware:
//   the second byte of a double-byte character is never folded) and without surrounding
//   blanks; they keep the spelling of their first write. A new section goes to the end
//   of the file, a new key to the end of its section; rewriting a key keeps its place.
// - readString: the value with a matching pair of surrounding quotes removed, or the
//   default (trailing spaces removed) when the key is missing or has no "="; cut to
//   bufferSize - 1 bytes. An empty key name gives an empty text.
// - readKeyNames: the names of the section's "key=value" lines in file order (comment
//   lines starting with ";" and lines without "=" are left out), cut exactly as the
//   system cuts a list that does not fit: the buffer holds the names that fit, the last
//   one possibly cut, and the list ends with two NULs at bufferSize - 2.
// - writeString strips blanks around the value: the system drops the leading ones when
//   writing and the trailing ones when it reads the file back (checked under Wine).
// - deleteSection removes the first section of that name with all its lines.
// - flush only counts.
// Loading from INI text parses like the system: blanks around lines, names and values
// are dropped, "[name]" opens a section, keys before the first section are kept apart.
// text() dumps a file in one canonical form; Canonical() brings fixture text into the
// same form, so tests can compare whole files without caring about blank lines or CRs.
// Every call is recorded (calls()) for tests that check the order of reads and writes.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/profile_store.h"

struct ProfileCall {
    enum class Kind { ReadString, ReadKeyNames, WriteString, DeleteSection, Flush };
    Kind kind;
    std::string file;
    std::string section;  // empty for Flush
    std::string key;      // empty for ReadKeyNames, DeleteSection, Flush
    std::string value;    // the value written, or the default of a read

    bool operator==(const ProfileCall& other) const;
};

class ProfileStoreFake : public ProfileStore {
public:
    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue,
                           std::size_t bufferSize) override;
    std::vector<std::string> readKeyNames(const std::string& file, const std::string& section,
                                          std::size_t bufferSize) override;
    void writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;
    void deleteSection(const std::string& file, const std::string& section) override;
    void flush(const std::string& file) override;

    // Replaces the file's content by the parsed INI text; the file exists afterwards.
    void loadText(const std::string& file, const std::string& iniText);
    // loadText with the bytes of a file on disk (a fixture); false when it cannot be read.
    bool loadFromDisk(const std::string& file, const std::string& diskPath);
    // The file in canonical form: "[Section]\n" then "key=value\n" lines, one empty line
    // between sections; empty when the file does not exist.
    std::string text(const std::string& file) const;
    // Any INI text in the canonical form of text().
    static std::string Canonical(const std::string& iniText);

    bool exists(const std::string& file) const;
    void removeFile(const std::string& file);

    // The stored value without any cut; nothing when the key is missing or has no "=".
    std::optional<std::string> value(const std::string& file, const std::string& section,
                                     const std::string& key) const;

    int flushCount(const std::string& file) const;
    const std::vector<ProfileCall>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }

private:
    struct Entry {
        std::string name;
        std::optional<std::string> value;  // none for a line without "="
    };
    struct Section {
        std::string name;  // empty for lines before the first section header
        std::vector<Entry> entries;
    };
    using Content = std::vector<Section>;

    static Content Parse(const std::string& iniText);
    static std::string Dump(const Content& content);
    // First section or entry of that name in a (const or mutable) container, or null.
    template <typename SectionList>
    static auto FindSection(SectionList& content, const std::string& name)
        -> decltype(&content.front());
    template <typename SectionType>
    static auto FindEntry(SectionType& section, const std::string& name)
        -> decltype(&section.entries.front());

    std::map<std::string, Content> files_;
    std::map<std::string, int> flushes_;
    std::vector<ProfileCall> calls_;
};

// Reads a whole file from disk as bytes; empty when it cannot be read.
std::string ReadDiskFile(const std::string& path);

// Path of a fixture below tests/data (for example "ini/current.ini").
std::string TestDataPath(const std::string& relative);
