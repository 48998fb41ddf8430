#include "ui/about_dialog_win.h"

#include "ui/dialog_controls_win.h"
#include "ui/modal_dialog_win.h"
#include "base/resource_ids.h"

namespace {

class AboutDialog : public ModalDialog {
protected:
    bool onCommand(int id, int, HWND) override
    {
        if (id == IDOK || id == IDCANCEL) {
            end(id);
            return true;
        }
        return false;
    }

    void onClose() override { end(IDCANCEL); }
};

}  // namespace

INT_PTR ShowAboutDialog(HINSTANCE module, HWND owner)
{
    AboutDialog dialog;
    return dialog.run(module, IDD_ABOUT, owner);
}
