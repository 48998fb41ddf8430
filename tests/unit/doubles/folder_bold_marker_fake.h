// FolderBoldMarker for native tests: records every folder it is asked to show in bold, as
// "<account directory>|<display path>".
#pragma once

#include <string>
#include <vector>

#include "host/folder_tree.h"

struct FolderBoldMarkerFake : FolderBoldMarker {
    void markFolderBold(const std::string& accountDir, const std::string& displayPath) override
    {
        marked.push_back(accountDir + "|" + displayPath);
    }
    std::vector<std::string> marked;
};
