// Message files for the mail reader tests: fixtures under tests/data/mail, and
// temporary files written by a test and removed again when it ends.
#pragma once

#include <string>

// Full path of the fixture tests/data/mail/<name>.
std::string MailFixture(const std::string& name);

// A file holding the given bytes in a fresh temporary directory, removed with the
// directory when the object is destroyed.
class TempMailFile {
public:
    explicit TempMailFile(const std::string& bytes);
    ~TempMailFile();
    TempMailFile(const TempMailFile&) = delete;
    TempMailFile& operator=(const TempMailFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string directory_;
    std::string path_;
};

// The bytes of a file, read whole (for checking what a writer produced).
std::string ReadWholeFile(const std::string& path);
