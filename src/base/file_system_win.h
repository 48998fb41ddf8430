// FileSystem over the Win32 file services (ANSI forms: paths are Shift-JIS bytes).
#pragma once

#include "base/file_system.h"

class Win32FileSystem : public FileSystem {
public:
    std::string mainExecutablePath() override;
    std::string tempFolder() override;
    std::string createTempFile(const std::string& folder, const std::string& prefix) override;
    std::optional<FileStamp> fileStamp(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
};
