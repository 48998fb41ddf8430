// ProfileStore over the system's private-profile services (the ANSI forms), which cache
// the file and compare section and key names without regard to case.
#pragma once

#include "base/profile_store.h"

class Win32ProfileStore : public ProfileStore {
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
};
