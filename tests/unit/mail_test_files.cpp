#include "mail_test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

std::string MailFixture(const std::string& name) {
    return std::string(TARNWICK_TEST_DATA) + "/mail/" + name;
}

TempMailFile::TempMailFile(const std::string& bytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "mailtestXXXXXX").string();
    if (mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("no temporary directory");
    directory_ = pattern;
    path_ = directory_ + "/message.eml";
    std::ofstream out(path_, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path_);
}

TempMailFile::~TempMailFile() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
