#include "host_mailbox_fixture.h"

#include <algorithm>
#include <filesystem>

#include "doubles/profile_store_fake.h"

int LoadHostMailboxFixture(ProfileStoreFake& profile, const std::string& mailboxRoot)
{
    const std::filesystem::path fixture = TestDataPath("host/mailbox");
    int loaded = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(fixture)) {
        if (!item.is_regular_file()) {
            continue;
        }
        const std::string slashed = item.path().lexically_relative(fixture).generic_string();
        std::string backslashed = slashed;
        std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
        const std::string text = ReadDiskFile(item.path().string());
        profile.loadText(mailboxRoot + slashed, text);
        profile.loadText(mailboxRoot + backslashed, text);
        ++loaded;
    }
    return loaded;
}
