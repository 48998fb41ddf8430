#include "ui/classifier_wait_box_win.h"

#include "ui/modal_dialog_win.h"
#include "base/resource_ids.h"

namespace {

// The open wait box, from its opening until its window is destroyed.
HWND openWaitBox = nullptr;

class ClassifierWaitBox : public CancelButtonBox {
protected:
    BOOL onInit() override
    {
        openWaitBox = window();
        return TRUE;
    }

    void onDestroy() override
    {
        if (openWaitBox == window()) {
            openWaitBox = nullptr;
        }
    }
};

}  // namespace

INT_PTR RunClassifierWaitBox(HINSTANCE module)
{
    ClassifierWaitBox box;
    return box.run(module, IDD_CLASSIFIER_WAIT, nullptr);
}

void closeClassifierWaitBox()
{
    if (openWaitBox != nullptr) {
        PostMessageA(openWaitBox, WM_CLOSE, 0, 0);
    }
}
