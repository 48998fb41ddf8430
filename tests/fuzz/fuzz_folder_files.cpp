// The host's folder files: account.ini and every folder's entry.ini with their Order, Type
// and Title values, walked into the folder catalogue and read for display paths. One input
// holds the account file, the entry files and a folder path, separated by 0x01 bytes; a
// folder directory "userNNN.box" reads the entry file numbered NNN modulo their count.
#include <vector>

#include "base/profile_store.h"
#include "doubles/host_services_fake.h"
#include "doubles/profile_store_fake.h"
#include "fuzz_support.h"
#include "mailbox/folder_catalogue.h"

namespace {

constexpr char kSeparator = '\x01';
constexpr std::size_t kDeepestLevel = 6;

// Answers every folder file of the mailbox from the input's parts.
class FolderFilesFake : public ProfileStore {
public:
    explicit FolderFilesFake(FuzzInput& input)
    {
        accountFile_ = std::string(input.until(kSeparator));
        for (int i = 0; i < 4; ++i) {
            entryFiles_.emplace_back(input.until(kSeparator));
        }
        for (std::size_t i = 0; i < entryFiles_.size(); ++i) {
            texts_.loadText("entry" + std::to_string(i), entryFiles_[i]);
        }
        texts_.loadText("account", accountFile_);
    }

    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue,
                           std::size_t bufferSize) override
    {
        // Every directory of this made-up tree exists; a real one ends somewhere.
        if (++reads_ > kMostReads) {
            return texts_.readString("none", section, key, defaultValue, bufferSize);
        }
        return texts_.readString(partFor(file), section, key, defaultValue, bufferSize);
    }
    std::vector<std::string> readKeyNames(const std::string& file, const std::string& section,
                                          std::size_t bufferSize) override
    {
        return texts_.readKeyNames(partFor(file), section, bufferSize);
    }
    void writeString(const std::string&, const std::string&, const std::string&,
                     const std::string&) override
    {
        std::abort();  // the host's files are never written
    }
    void deleteSection(const std::string&, const std::string&) override { std::abort(); }
    void flush(const std::string&) override { std::abort(); }

private:
    // "account" for an account file; "entry<n>" for the entry file of a folder directory
    // userNNN.box; "none" for anything deeper than a real tree would plausibly go.
    std::string partFor(const std::string& file) const
    {
        if (file.size() >= 11 && file.compare(file.size() - 11, 11, "account.ini") == 0) {
            return "account";
        }
        std::size_t depth = 0;
        std::size_t number = 0;
        for (std::size_t at = file.find("user"); at != std::string::npos;
             at = file.find("user", at + 1)) {
            if (at + 7 <= file.size()) {
                number = static_cast<std::size_t>(std::atoi(file.substr(at + 4, 3).c_str()));
                ++depth;
            }
        }
        if (depth == 0 || depth > kDeepestLevel) {
            return "none";
        }
        return "entry" + std::to_string(number % entryFiles_.size());
    }

    static constexpr int kMostReads = 20000;
    int reads_ = 0;
    std::string accountFile_;
    std::vector<std::string> entryFiles_;
    ProfileStoreFake texts_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    FolderFilesFake profile(input);
    const std::string folderPath(input.rest());

    HostServicesFake host;
    host.mailbox = "C:\\Mail\\";
    host.account = "C:\\Mail\\acct\\";
    FolderCatalogue catalogue;
    BuildFolderCatalogue(catalogue, host.api, profile, nullptr);
    FUZZ_CHECK(catalogue.rootDir == std::optional<std::string>("C:\\Mail\\acct"));
    for (const FolderEntry& entry : catalogue.entries) {
        FUZZ_CHECK(!entry.displayPath.empty());
    }
    FUZZ_CHECK(catalogue.entryAt(catalogue.entryCount()) == nullptr);

    for (const std::string& directory : FolderDirectoriesInOrder(folderPath)) {
        FUZZ_CHECK(directory.size() == 11);
    }
    FolderDisplayPath(host.api, profile, folderPath);
    return 0;
}
