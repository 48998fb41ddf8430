// SelectedMailCorrection for native tests: goes through the given message files in turn, as
// the progress box goes through the selection, and records the windows it was asked for.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "plugin/correct_mail.h"

struct SelectedMailCorrectionFake : SelectedMailCorrection {
    void forEachSelectedMail(HostWindow window,
                             const std::function<void(const std::string&)>& correctOne) override
    {
        windows.push_back(window);
        for (const std::string& path : paths) {
            correctOne(path);
        }
    }
    std::vector<std::string> paths;
    std::vector<HostWindow> windows;
};
