#include "ui/sort_rule_edit_dialog_win.h"

#include <commctrl.h>

#include <iterator>
#include <string>
#include <vector>

#include "ui/dialog_controls_win.h"
#include "base/resource_ids.h"
#include "ui/rule_dialogs_win.h"
#include "ui/settings_context.h"

namespace {
constexpr int kMarkImageWidth = 16;
constexpr COLORREF kMarkTransparentColour = RGB(255, 255, 255);
constexpr const char* kMarkImageError = "hImg Error";
constexpr const char* kMarkImageErrorCaption = "OK";

class SortRuleEditDialog : public RuleEditDialog {
public:
    SortRuleEditDialog(SettingsContext& context, SortRuleForm& form, const SortRuleList& rules,
                       int32_t editedIndex)
        : context_(context), form_(form), rules_(rules), editedIndex_(editedIndex)
    {
    }

private:
    BOOL onInit() override
    {
        fillLists();
        showForm();
        return TRUE;
    }

    void onDestroy() override
    {
        if (markImages_ != nullptr) {
            ImageList_Destroy(markImages_);
            markImages_ = nullptr;
        }
    }

    void fillLists()
    {
        FillTypingCombo(control(IDC_RULE_BUCKET), BucketComboItems(context_.classifier));
        FillTypingCombo(control(IDC_RULE_FOLDER), FolderChoices(context_.folderCatalogue));

        AddComboItems(control(IDC_RULE_ACTION),
                      std::vector<std::string>(std::begin(kSortActionLabels),
                                               std::end(kSortActionLabels)));
        fillMarks();
    }

    // Bitmap 116 cut into seven 16-pixel marks; item 0 has none, item n shows mark n - 1.
    void fillMarks()
    {
        HWND marks = control(IDC_RULE_MARK);
        markImages_ = ImageList_LoadImageA(module(), MAKEINTRESOURCEA(IDB_MARKS), kMarkImageWidth,
                                           0, kMarkTransparentColour, IMAGE_BITMAP, 0);
        if (markImages_ == nullptr) {
            MessageBoxA(window(), kMarkImageError, kMarkImageErrorCaption, MB_OK);
        } else {
            SendMessageA(marks, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(markImages_));
        }
        for (int i = 0; i < static_cast<int>(std::size(kMarkLabels)); ++i) {
            COMBOBOXEXITEMA item = {};
            item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
            item.iItem = i;
            item.pszText = const_cast<char*>(kMarkLabels[i]);
            // Not -1: that is I_IMAGECALLBACK, which asks the dialog for an image.
            item.iImage = i > 0 ? i - 1 : I_IMAGENONE;
            item.iSelectedImage = item.iImage;
            SendMessageA(marks, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }

    void showForm()
    {
        SetWindowTextA(control(IDC_RULE_BUCKET), form_.bucket.c_str());
        SetWindowTextA(control(IDC_RULE_FOLDER), form_.folder.c_str());
        SendMessageA(control(IDC_RULE_ACTION), CB_SETCURSEL, form_.action, 0);
        SendMessageA(control(IDC_RULE_MARK), CB_SETCURSEL, form_.mark, 0);
        CheckDlgButton(window(), IDC_RULE_DELETE_FROM_SERVER,
                       form_.deleteFromServer ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(window(), IDC_RULE_DUPLICATE,
                       form_.duplicateThenHostDeletes ? BST_CHECKED : BST_UNCHECKED);
    }

    // An action or mark the list does not offer (a hand-edited INI file) shows no
    // selection; it is kept rather than stored as -1.
    void readForm()
    {
        form_.bucket = FieldText(ControlText(control(IDC_RULE_BUCKET)));
        form_.folder = FieldText(ControlText(control(IDC_RULE_FOLDER)));
        form_.action = ComboSelection(control(IDC_RULE_ACTION), form_.action);
        form_.mark = ComboSelection(control(IDC_RULE_MARK), form_.mark);
        form_.deleteFromServer = IsDlgButtonChecked(window(), IDC_RULE_DELETE_FROM_SERVER) == BST_CHECKED;
        form_.duplicateThenHostDeletes = IsDlgButtonChecked(window(), IDC_RULE_DUPLICATE) == BST_CHECKED;
    }

    void accept() override
    {
        readForm();
        const std::string failures = ValidateSortRuleForm(form_, rules_, editedIndex_);
        if (!failures.empty()) {
            ShowCheckFailures(window(), failures);
            return;
        }
        end(1);
    }

    SettingsContext& context_;
    SortRuleForm& form_;
    const SortRuleList& rules_;
    const int32_t editedIndex_;
    HIMAGELIST markImages_ = nullptr;
};
}  // namespace

INT_PTR RunSortRuleEditDialog(HWND owner, SettingsContext& context, SortRuleForm& form,
                              const SortRuleList& rules, int32_t editedIndex)
{
    RegisterDialogControlClasses();
    SortRuleEditDialog dialog(context, form, rules, editedIndex);
    return dialog.run(static_cast<HINSTANCE>(context.module), IDD_SORT_RULE_EDIT, owner);
}
