#include "ui/reclassify_progress.h"

#include <cstdio>

#include "host/correction_menu.h"

namespace {
constexpr const char* kMailExtension = ".CRV";
constexpr std::size_t kCounterBufferSize = 100;
}  // namespace

std::vector<std::string> CollectSelectedMailPaths(const HostApi& host, HostWindow window)
{
    const int counted = CountSelectedMails(host, window);
    std::vector<std::string> paths;
    if (counted <= 0) {
        return paths;
    }
    paths.reserve(static_cast<std::size_t>(counted));
    const char* root = host.APAGetMailbox();
    const std::string mailboxRoot = root != nullptr ? root : "";
    const char* entry = host.APAFolderGetSelectEntry(window, 1);
    while (entry != nullptr) {
        paths.push_back(mailboxRoot + entry + kMailExtension);
        if (paths.size() == static_cast<std::size_t>(counted)) {
            break;
        }
        entry = host.APAFolderGetSelectEntry(window, 0);
    }
    return paths;
}

std::string ProgressCounterText(int n, int count)
{
    char text[kCounterBufferSize];
    std::snprintf(text, sizeof text, "POPFile訂正(%d/%d)", n, count);
    return text;
}
