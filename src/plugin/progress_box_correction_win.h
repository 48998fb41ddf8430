// Several selected messages corrected behind the progress box.
#pragma once

#include "plugin/correct_mail.h"

// The progress box, loaded from the plug-in's own module (read at each use: it is settled at
// load) and owned by the folder window.
class ProgressBoxCorrection : public SelectedMailCorrection {
public:
    explicit ProgressBoxCorrection(const HostApi& host, void* const& module)
        : host_(host), module_(module)
    {
    }

    void forEachSelectedMail(HostWindow window,
                             const std::function<void(const std::string&)>& correctOne) override;

private:
    const HostApi& host_;
    void* const& module_;
};
