#include "ui/why_here_dialog_win.h"

#include "base/resource_ids.h"
#include "ui/modal_dialog_win.h"

namespace {

class WhyHereDialog : public ModalDialog {
public:
    explicit WhyHereDialog(std::string text) : text_(std::move(text)) {}

protected:
    BOOL onInit() override
    {
        SetWindowTextA(control(IDC_WHY_HERE_TEXT), text_.c_str());
        // The close button has the focus, so that the text is not shown all selected.
        SetFocus(control(IDCANCEL));
        return FALSE;
    }

    bool onCommand(int id, int, HWND) override
    {
        if (id == IDCANCEL) {
            end(IDCANCEL);
            return true;
        }
        return false;
    }

private:
    const std::string text_;
};

}  // namespace

INT_PTR ShowWhyHereDialog(HINSTANCE module, HWND owner, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    WhyHereDialog dialog(text);
    return dialog.run(module, IDD_WHY_HERE, owner);
}
