#include "ui/why_here_dialog_win.h"

#include "base/resource_ids.h"
#include "ui/modal_dialog_win.h"

INT_PTR ShowWhyHereDialog(HINSTANCE module, HWND owner, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    TextReportBox dialog(IDC_WHY_HERE_TEXT, text);
    return dialog.run(module, IDD_WHY_HERE, owner);
}
