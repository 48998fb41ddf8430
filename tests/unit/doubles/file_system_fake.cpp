#include "doubles/file_system_fake.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace {
std::string UniqueName(const std::string& folder, const std::string& prefix, unsigned number)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", number);
    return folder + prefix.substr(0, 3) + hex + ".tmp";
}

bool RealFileReadable(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

// Creates the file only when nothing of that name exists ("x": exclusive).
bool CreateNewRealFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}
}  // namespace

FileSystemFake::~FileSystemFake()
{
    if (!realFolder_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(realFolder_, error);
    }
}

std::string FileSystemFake::useRealTempFolder()
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        return "";
    }
    // create_directory reports false for a name that already exists, so a free random
    // name is ours alone.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder =
            base / ("tarnwick-fs-" + std::to_string(random()) + "-" + std::to_string(attempt));
        if (std::filesystem::create_directory(folder, error)) {
            realFolder_ = folder.string();
            tempFolder_ = realFolder_ + "/";
            return tempFolder_;
        }
    }
    return "";
}

std::string FileSystemFake::createTempFile(const std::string& folder, const std::string& prefix)
{
    if (failTempFiles_) {
        return "";
    }
    const bool real = !realFolder_.empty() && folder.rfind(tempFolder_, 0) == 0;
    // The system tries numbers until a name is free; so do we, within reason.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string path = UniqueName(folder, prefix, nextUnique_++);
        if (real ? CreateNewRealFile(path) : virtualFiles_.insert(path).second) {
            created_.push_back(path);
            return path;
        }
    }
    return "";
}

std::optional<FileStamp> FileSystemFake::fileStamp(const std::string& path)
{
    const auto found = stamps_.find(path);
    if (found == stamps_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool FileSystemFake::fileExists(const std::string& path)
{
    const auto answer = answers_.find(path);
    if (answer != answers_.end()) {
        return answer->second;
    }
    for (const auto& check : checks_) {
        if (check(path)) {
            return true;
        }
    }
    return isVirtual(path) || RealFileReadable(path);
}

bool FileSystemFake::deleteFile(const std::string& path)
{
    deleteCalls_.push_back(path);
    bool deleted = false;
    if (isVirtual(path)) {
        virtualFiles_.erase(path);
        deleted = true;
    } else {
        deleted = !path.empty() && std::remove(path.c_str()) == 0;
    }
    if (deleted) {
        answers_.erase(path);
        for (const std::string& made : created_) {
            if (made == path) {
                deletedCreated_.insert(path);
            }
        }
    }
    return deleted;
}

bool FileSystemFake::replaceFile(const std::string& from, const std::string& to)
{
    if (failReplace_) {
        return false;
    }
    if (isVirtual(from)) {
        virtualFiles_.erase(from);
        virtualFiles_.insert(to);
        return true;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void FileSystemFake::setFileExists(const std::string& path, bool exists)
{
    answers_[path] = exists;
    if (exists) {
        virtualFiles_.insert(path);
    }
}

void FileSystemFake::addExistenceCheck(std::function<bool(const std::string&)> check)
{
    checks_.push_back(std::move(check));
}

int FileSystemFake::deletedTempFiles() const
{
    return static_cast<int>(deletedCreated_.size());
}

std::vector<std::string> FileSystemFake::liveTempFiles()
{
    std::vector<std::string> live;
    for (const std::string& path : created_) {
        if (isVirtual(path) || RealFileReadable(path)) {
            live.push_back(path);
        }
    }
    return live;
}
