#include "plugin/progress_box_correction_win.h"

#include "ui/reclassify_progress_box_win.h"

void ProgressBoxCorrection::forEachSelectedMail(
    HostWindow window, const std::function<void(const std::string&)>& correctOne)
{
    RunReclassifyProgressBox(static_cast<HINSTANCE>(module_), host_, static_cast<HWND>(window),
                             correctOne);
}
