#include "ui/other_settings_dialog_win.h"

#include <functional>
#include <string>

#include "classifier/classifier_session.h"
#include "config/settings.h"
#include "ui/dialog_controls_win.h"
#include "ui/modal_dialog_win.h"
#include "ui/other_settings.h"
#include "ui/settings_context.h"
#include "base/resource_ids.h"

namespace {

class OtherSettingsDialog : public ModalDialog {
public:
    OtherSettingsDialog(ClassifierContext& context,
                        const std::function<void(void*, const std::string&)>& runLinkSelfTest)
        : context_(context), runLinkSelfTest_(runLinkSelfTest)
    {
    }

protected:
    BOOL onInit() override
    {
        const OtherSettingsForm form = OtherSettingsFormFor(context_.settings);
        setTicked(IDC_CHECK_CONNECT, form.checkConnect);
        setTicked(IDC_AFTER_SET_BOLD, form.afterSetBold);
        setTicked(IDC_SUBJECT_EDIT, form.subjectEdit);
        setTicked(IDC_AUTO_RECEIVE, form.autoReceive);
        SendMessageA(control(IDC_CLASSIFIER_URL), EM_LIMITTEXT, kUrlFieldLimit, 0);
        SetWindowTextA(control(IDC_CLASSIFIER_URL), form.url.c_str());
        return TRUE;
    }

    bool onCommand(int id, int, HWND) override
    {
        if (id == IDC_OK_BUTTON) {
            confirm();
            return true;
        }
        if (id == IDC_CANCEL_BUTTON) {
            end(IDC_CANCEL_BUTTON);
            return true;
        }
        if (id == IDC_LINK_SELF_TEST) {
            // The address as "Ｏ　Ｋ" would take it; nothing is stored.
            if (runLinkSelfTest_) {
                runLinkSelfTest_(window(),
                                 CutUrlFieldText(ControlText(control(IDC_CLASSIFIER_URL))));
            }
            return true;
        }
        return false;
    }

private:
    void setTicked(int id, bool ticked)
    {
        CheckDlgButton(window(), id, ticked ? BST_CHECKED : BST_UNCHECKED);
    }

    bool ticked(int id) const { return IsDlgButtonChecked(window(), id) == BST_CHECKED; }

    void confirm()
    {
        OtherSettingsForm form;
        form.checkConnect = ticked(IDC_CHECK_CONNECT);
        form.afterSetBold = ticked(IDC_AFTER_SET_BOLD);
        form.subjectEdit = ticked(IDC_SUBJECT_EDIT);
        form.autoReceive = ticked(IDC_AUTO_RECEIVE);
        form.url = CutUrlFieldText(ControlText(control(IDC_CLASSIFIER_URL)));
        if (const std::optional<std::string> refusal = ConfirmOtherSettings(context_, form)) {
            MessageBoxA(window(), refusal->c_str(), kOtherSettingsRefusalCaption,
                        MB_OK | MB_ICONINFORMATION);
            return;
        }
        end(IDC_OK_BUTTON);
    }

    ClassifierContext& context_;
    const std::function<void(void*, const std::string&)>& runLinkSelfTest_;
};

}  // namespace

INT_PTR ShowOtherSettingsDialog(HWND owner, SettingsContext& context)
{
    OtherSettingsDialog dialog(context.classifier, context.runLinkSelfTest);
    return dialog.run(static_cast<HINSTANCE>(context.module), IDD_OTHER_SETTINGS, owner);
}
