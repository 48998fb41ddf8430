// The plug-in's INI file as the rule and settings loaders decode it: the MoveMail, Action and
// Mark sections, the header rules' colon encoding and the Setup numbers. The file is parsed
// by the profile double, which cuts values and key lists as the system does.
#include "base/profile_store.h"
#include "config/rule_store.h"
#include "config/settings_store.h"
#include "doubles/file_system_fake.h"
#include "doubles/profile_store_fake.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The system's key list: names, each ending in a NUL, as far as its length says.
    for (const std::string& name : SplitKeyList(text.data(), text.size())) {
        FUZZ_CHECK(!name.empty() && name.find('\0') == std::string::npos);
    }

    ProfileStoreFake profile;
    FileSystemFake files;
    files.addExistenceCheck([&profile](const std::string& path) { return profile.exists(path); });
    const std::string ini = pluginIniPath(files);
    profile.loadText(ini, text);

    SortRuleList sortRules;
    loadSortRules(sortRules, profile, files);
    for (std::size_t i = 0; i < sortRules.size(); ++i) {
        FUZZ_CHECK(sortRules[i].position == static_cast<int32_t>(i));
        FUZZ_CHECK(FindSortRule(sortRules, sortRules[i].bucket) != nullptr);
    }
    PluginSettings settings;
    loadSettings(settings, profile, files);
    HeaderRuleList headerRules;
    loadHeaderRules(headerRules, profile, ini);

    // What a save writes, the next start reads back.
    HeaderRuleList saved;
    saveHeaderRules(saved, headerRules, profile, ini);
    HeaderRuleList reloaded;
    loadHeaderRules(reloaded, profile, ini);
    FUZZ_CHECK(reloaded.size() <= saved.size());
    for (std::size_t i = 0; i < reloaded.size(); ++i) {
        FUZZ_CHECK(reloaded[i].bucket == saved[i].bucket);
        FUZZ_CHECK(reloaded[i].header == saved[i].header);
        FUZZ_CHECK(reloaded[i].search == saved[i].search);
    }
    return 0;
}
