#include "mailbox/mailbox.h"
#include "ui/reclassify_progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "doubles/classifier_doubles.h"

namespace {

// The host's selection as each walk over it sees it: the user may change the selection
// between the counting walk and the walk that builds the paths.
struct SelectionScript {
    std::vector<std::vector<std::string>> walks;
    std::size_t walksStarted = 0;
    std::size_t walk = 0;
    std::size_t next = 0;
};
SelectionScript* script = nullptr;

const char* TW_STDCALL ScriptedSelectEntry(HostWindow, int first)
{
    if (first != 0) {
        script->walk = std::min(script->walksStarted++, script->walks.size() - 1);
        script->next = 0;
    }
    const std::vector<std::string>& entries = script->walks[script->walk];
    return script->next < entries.size() ? entries[script->next++].c_str() : nullptr;
}

TEST(SelectedMailPathsTest, PathsForTheSelectionButNeverMoreThanCounted)
{
    HostServicesFake host;
    host.mailbox = "C:\\Mail\\";
    host.api.APAFolderGetSelectEntry = ScriptedSelectEntry;
    const auto paths = [&](std::vector<std::vector<std::string>> walks) {
        SelectionScript selection{std::move(walks)};
        script = &selection;
        std::vector<std::string> built = CollectSelectedMailPaths(host.api, nullptr);
        script = nullptr;
        return built;
    };
    EXPECT_EQ(paths({{"acct\\inbox.box\\001", "acct\\user001.box\\002"}}),
              (std::vector<std::string>{"C:\\Mail\\acct\\inbox.box\\001.CRV",
                                        "C:\\Mail\\acct\\user001.box\\002.CRV"}));
    EXPECT_EQ(paths({{"a", "b", "c"}, {"a", "b"}}),
              (std::vector<std::string>{"C:\\Mail\\a.CRV", "C:\\Mail\\b.CRV"}));
    EXPECT_EQ(paths({{"a", "b"}, {"x", "y", "z"}}),
              (std::vector<std::string>{"C:\\Mail\\x.CRV", "C:\\Mail\\y.CRV"}));
    host.calls.clear();
    EXPECT_TRUE(paths({{}}).empty());
    EXPECT_TRUE(host.callsTo("APAGetMailbox").empty()) << "no path is made for no selection";
}

}  // namespace
