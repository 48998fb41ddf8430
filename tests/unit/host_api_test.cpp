#include "base/host_api.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

int TW_STDCALL FakeService()
{
    return 0;
}

// A host image exporting every decorated name except those in `missing`.
HostSymbolLookup HostExporting(std::set<std::string> missing, std::set<std::string>* asked)
{
    return [missing, asked](const std::string& name) -> void* {
        if (asked != nullptr) {
            asked->insert(name);
        }
        return missing.count(name) != 0 ? nullptr : reinterpret_cast<void*>(&FakeService);
    };
}

TEST(HostApiTest, DecoratedNamesCarryFourBytesPerArgument)
{
    EXPECT_EQ(DecoratedServiceName("APAMoveMail", 2), "_APAMoveMail@8");
    EXPECT_EQ(DecoratedServiceName("APAIsBusy", 0), "_APAIsBusy@0");
    EXPECT_EQ(DecoratedServiceName("APASaveMail", 4), "_APASaveMail@16");
}

TEST(HostApiTest, ResolvesAllThirtyFourServicesByDecoratedName)
{
    std::set<std::string> asked;
    HostApi api;
    int host = 0;
    ASSERT_TRUE(ResolveHostApi(api, &host, HostExporting({}, &asked)));
    EXPECT_TRUE(api.resolved());
    EXPECT_EQ(kHostServiceCount, 34);
    EXPECT_EQ(asked.size(), 34u);
    EXPECT_TRUE(asked.count("_APARegistCallback@8"));
    EXPECT_TRUE(asked.count("_APASetTimer@12"));
    EXPECT_TRUE(asked.count("_APAFolderGetSelectEntry@8"));
    EXPECT_TRUE(asked.count("_APAJisToSjis@12"));
    EXPECT_TRUE(asked.count("_APAExecCorvane@4"));
    EXPECT_NE(api.APAMarkMail, nullptr);
}

TEST(HostApiTest, AnyMissingServiceLeavesTheTableUnresolved)
{
    // Services the plug-in never calls count as much as those it does.
    for (const char* missing : {"_APAMoveMail@8", "_APAJisToSjis@12", "_APARegistCallback@8"}) {
        HostApi api;
        int host = 0;
        EXPECT_FALSE(ResolveHostApi(api, &host, HostExporting({missing}, nullptr))) << missing;
        EXPECT_FALSE(api.resolved()) << missing;
    }
}

TEST(HostApiTest, DetachForgetsTheHostModule)
{
    HostApi api;
    int host = 0;
    ASSERT_TRUE(ResolveHostApi(api, &host, HostExporting({}, nullptr)));
    MarkHostApiUnresolved(api);
    EXPECT_FALSE(api.resolved());
}

}  // namespace
