// What the fuzz targets share: the input as a message file on disk (the readers open files
// by path), a byte reader that splits one input into several values, and a check that
// aborts so that libFuzzer keeps the input that broke an invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

// A private directory for the scratch files of this process, removed at exit.
inline const std::string& FuzzScratchFolder()
{
    static const std::string folder = [] {
        // Memory-backed when the system has it: every input is written and read again.
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error)) {
            base = std::filesystem::temp_directory_path(error);
        }
        std::string pattern = (base / "tarnwick-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        static const std::string made = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return pattern + "/";
    }();
    return folder;
}

// Writes bytes as the file name in the scratch folder and returns its path.
inline std::string WriteScratchFile(const std::string& name, std::string_view bytes)
{
    const std::string path = FuzzScratchFolder() + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::abort();
    }
    return path;
}

inline std::string ReadScratchFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Takes values off the front of an input, then hands out the rest.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size)
    {
    }

    // The next byte, 0 once the input is used up.
    uint8_t byte()
    {
        if (rest_.empty()) {
            return 0;
        }
        const auto value = static_cast<uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return value;
    }

    // The text up to the next separator byte (consumed), or all that is left.
    std::string_view until(char separator)
    {
        const std::size_t end = rest_.find(separator);
        const std::string_view part = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return part;
    }

    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

// An invariant the code under test must keep; aborting makes libFuzzer save the input.
#define FUZZ_CHECK(condition)                                                            \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__,   \
                         #condition);                                                    \
            std::abort();                                                                \
        }                                                                                \
    } while (false)
