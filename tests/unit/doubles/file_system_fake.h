// FileSystem for native tests.
//
// - mainExecutablePath() answers what setMainExecutablePath() set
//   (default "C:\Program Files\Corvane32\Corvane32.exe").
// - Temporary files are virtual by default: tempFolder() is "C:\Temp\" (or what
//   setTempFolder() set) and createTempFile() invents names like the system's unique-file
//   service does (the prefix's first three characters, a hexadecimal number, ".tmp"),
//   remembering them as existing files without touching the disk. After
//   useRealTempFolder() they are real, empty files in a private directory below the
//   system's temporary folder, which the fake removes with everything in it when it is
//   destroyed. failTempFiles(true) makes createTempFile() fail with "".
// - fileExists() answers, in this order: an answer set with setFileExists(); true when a
//   check added with addExistenceCheck() says so (for example a ProfileStoreFake's
//   exists()); a virtual file's state; the real disk (a regular file that opens for
//   reading).
// - deleteFile() and replaceFile() act on virtual files, else on the real disk.
//   failReplace(true) makes replaceFile() fail and change nothing.
// - createdTempFiles(), deletedTempFiles() and liveTempFiles() tell what became of the
//   temporary files it made; deleteCalls() lists every path passed to deleteFile().
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/file_system.h"

class FileSystemFake : public FileSystem {
public:
    FileSystemFake() = default;
    ~FileSystemFake() override;
    FileSystemFake(const FileSystemFake&) = delete;
    FileSystemFake& operator=(const FileSystemFake&) = delete;

    std::string mainExecutablePath() override { return mainExecutable_; }
    std::string tempFolder() override { return tempFolder_; }
    std::string createTempFile(const std::string& folder, const std::string& prefix) override;
    std::optional<FileStamp> fileStamp(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    bool replaceFile(const std::string& from, const std::string& to) override;

    void setMainExecutablePath(const std::string& path) { mainExecutable_ = path; }
    void setTempFolder(const std::string& folder) { tempFolder_ = folder; }
    // Switches temporary files to a new real directory; returns it, ending in "/".
    // Empty (and still virtual) when the directory cannot be made.
    std::string useRealTempFolder();
    void failTempFiles(bool fail) { failTempFiles_ = fail; }
    void failReplace(bool fail) { failReplace_ = fail; }
    // Gives path a stamp (a file the profile fake serves has none otherwise).
    void setStamp(const std::string& path, FileStamp stamp) { stamps_[path] = stamp; }

    // Makes path a virtual file (true) or hides it, real or not (false).
    void setFileExists(const std::string& path, bool exists);
    void addExistenceCheck(std::function<bool(const std::string&)> check);

    int createdTempFiles() const { return static_cast<int>(created_.size()); }
    int deletedTempFiles() const;
    // Temporary files made by this fake that still exist.
    std::vector<std::string> liveTempFiles();
    const std::vector<std::string>& deleteCalls() const { return deleteCalls_; }

private:
    bool isVirtual(const std::string& path) const { return virtualFiles_.count(path) != 0; }

    std::string mainExecutable_ = "C:\\Program Files\\Corvane32\\Corvane32.exe";
    std::string tempFolder_ = "C:\\Temp\\";
    std::string realFolder_;  // the private directory while real, else empty
    bool failTempFiles_ = false;
    bool failReplace_ = false;
    unsigned nextUnique_ = 1;

    std::map<std::string, bool> answers_;
    std::map<std::string, FileStamp> stamps_;
    std::vector<std::function<bool(const std::string&)>> checks_;
    std::set<std::string> virtualFiles_;
    std::vector<std::string> created_;
    std::set<std::string> deletedCreated_;
    std::vector<std::string> deleteCalls_;
};
