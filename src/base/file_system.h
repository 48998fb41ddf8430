// File services the portable code needs beyond stdio: the host program's path,
// temporary files and whole-file operations. Win32 implementation in file_system_win.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What tells one version of a file from the next: its size and last write time.
struct FileStamp {
    uint64_t size = 0;
    uint64_t lastWrite = 0;  // in the system's own units

    bool operator==(const FileStamp& other) const
    {
        return size == other.size && lastWrite == other.lastWrite;
    }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Full path of the process's main executable (the host program, not the plug-in).
    virtual std::string mainExecutablePath() = 0;

    // The system's temporary folder, ending in a separator; empty when unknown.
    virtual std::string tempFolder() = 0;

    // Creates a new, empty, uniquely named file in folder whose name starts with prefix;
    // returns its full path, or an empty string when no file could be created.
    virtual std::string createTempFile(const std::string& folder, const std::string& prefix) = 0;

    // The file's size and last write time; nothing when it cannot be found.
    virtual std::optional<FileStamp> fileStamp(const std::string& path) = 0;

    // True when the file can be opened for shared reading.
    virtual bool fileExists(const std::string& path) = 0;

    virtual bool deleteFile(const std::string& path) = 0;

    // Moves from over to in one step, replacing an existing file: at every moment either
    // the old or the new file exists at to. False leaves both files as they were.
    virtual bool replaceFile(const std::string& from, const std::string& to) = 0;
};
