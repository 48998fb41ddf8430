// settings_tour.exe: walks through the plug-in's settings dialogs in the replacement host,
// so that the demo can take a screenshot of each.
//
//   settings_tour.exe [handshake folder]
//
// Builds the demo mailbox below its program folder, starts Plugins\tarnwick.dll as the
// client does (with whatever Plugins\tarnwick.ini is in place), shows the first account's
// inbox and calls APCSetup. A second thread then acts as the user: it opens the sorting-rule
// list, edits the second rule (and drops down its mark list), opens the header rules and
// edits the first one, printing what each dialog shows, and cancels everything, so the INI
// file stays as it was. With a handshake folder, at each picture it writes
// "<folder>\<name>.ready" and waits (up to a minute) for "<folder>\<name>.shot" before it
// goes on. Output is Shift-JIS.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "demo_mailbox_win.h"
#include "dialog_driver_win.h"
#include "replacement_host_win.h"
#include "base/resource_ids.h"

namespace {

constexpr DWORD kShotWaitMilliseconds = 60000;
// The display shows a window a moment after it has painted it.
constexpr DWORD kSettleMilliseconds = 500;

// The dialog's own controls in tab order; the parts inside combo boxes and list views are
// read through their controls.
std::vector<HWND> ControlsOf(HWND dialog)
{
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back(child);
    }
    return controls;
}

std::string Joined(const std::vector<std::string>& texts, const char* separator)
{
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : separator) + text;
    }
    return joined;
}

void Describe(const DialogDriver& user, HWND dialog)
{
    std::printf("Dialog \"%s\"\n", DialogDriver::textOf(dialog).c_str());
    for (HWND control : ControlsOf(dialog)) {
        const int id = GetDlgCtrlID(control);
        const std::string type = DialogDriver::classOf(control);
        if (type == "SysListView32") {
            std::printf("  %5d list:\n", id);
            for (const std::vector<std::string>& row : user.listRows(dialog, id)) {
                std::printf("          %s\n", Joined(row, " | ").c_str());
            }
        } else if (type == "ComboBoxEx32") {
            std::vector<std::string> items;
            for (const DialogDriver::ImageItem& item : user.imageComboItems(dialog, id)) {
                items.push_back(item.text + (item.image >= 0 ? " [image " + std::to_string(item.image) + "]" : " [no image]"));
            }
            std::printf("  %5d image list (%d images): %s; selected %d\n", id,
                        user.imageComboImageCount(dialog, id), Joined(items, ", ").c_str(),
                        user.comboSelection(dialog, id));
        } else if (type == "ComboBox") {
            std::printf("  %5d combo \"%s\": %s\n", id, user.text(dialog, id).c_str(),
                        Joined(user.comboItems(dialog, id), ", ").c_str());
        } else {
            const bool checkBox = type == "Button" &&
                                  (GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
            std::printf("  %5d %s \"%s\"%s\n", id, type.c_str(), DialogDriver::textOf(control).c_str(),
                        checkBox ? (user.isChecked(dialog, id) ? " (checked)" : " (clear)") : "");
        }
    }
}

class Photographer {
public:
    explicit Photographer(std::string folder) : folder_(std::move(folder)) {}

    // Lets the demo take the picture called name of what the display shows now.
    void shoot(HWND dialog, const std::string& name) const
    {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(kSettleMilliseconds);
        if (folder_.empty()) {
            return;
        }
        const std::string ready = folder_ + "\\" + name + ".ready";
        const std::string shot = folder_ + "\\" + name + ".shot";
        WriteFileBytes(ready, name);
        const ULONGLONG deadline = GetTickCount64() + kShotWaitMilliseconds;
        while (GetFileAttributesA(shot.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount64() < deadline) {
            Sleep(50);
        }
        std::printf("  (picture %s%s)\n\n", name.c_str(),
                    GetFileAttributesA(shot.c_str()) == INVALID_FILE_ATTRIBUTES ? " not taken" : "");
        std::fflush(stdout);
    }

private:
    std::string folder_;
};

void Tour(const DialogDriver& user, const Photographer& camera)
{
    HWND list = user.waitForDialog("Tarnwick 振り分け設定", IDC_SORT_RULE_LIST);
    user.selectListRow(list, IDC_SORT_RULE_LIST, 1);
    Describe(user, list);
    camera.shoot(list, "1-sort-rule-list");

    user.doubleClickListRow(list, IDC_SORT_RULE_LIST, 1);
    HWND edit = user.waitForDialog("振り分け設定", IDC_RULE_MARK);
    Describe(user, edit);
    camera.shoot(edit, "2-sort-rule-edit");
    SendMessageA(GetDlgItem(edit, IDC_RULE_MARK), CB_SHOWDROPDOWN, TRUE, 0);
    camera.shoot(edit, "3-sort-rule-marks");
    SendMessageA(GetDlgItem(edit, IDC_RULE_MARK), CB_SHOWDROPDOWN, FALSE, 0);
    user.closeWith(edit, IDCANCEL);

    user.press(list, IDC_OPEN_HEADER_RULES);
    HWND headers = user.waitForDialog("Tarnwick 追加ヘッダ", IDC_HEADER_RULE_LIST);
    user.selectListRow(headers, IDC_HEADER_RULE_LIST, 0);
    Describe(user, headers);
    camera.shoot(headers, "4-header-rule-list");

    user.doubleClickListRow(headers, IDC_HEADER_RULE_LIST, 0);
    HWND headerEdit = user.waitForDialog("ヘッダ定義", IDC_HEADER_RULE_SEARCH);
    Describe(user, headerEdit);
    camera.shoot(headerEdit, "5-header-rule-edit");
    user.closeWith(headerEdit, IDCANCEL);
    user.closeWith(headers, IDCANCEL);
    user.closeWith(list, IDCANCEL);
}

}  // namespace

int main(int argc, char** argv)
{
    ReplacementHost host;
    BuildDemoMailbox(host.mailbox());
    if (!host.startPlugin()) {
        std::printf("The plug-in did not load (error %lu).\n",
                    static_cast<unsigned long>(host.plugin().loadError()));
        return 1;
    }
    host.openFolder(Mailbox::inbox(kDemoAccount));

    const Photographer camera(argc > 1 ? argv[1] : "");
    std::string failure;
    std::thread user([&] {
        DialogDriver driver;
        try {
            Tour(driver, camera);
        } catch (const std::exception& error) {
            failure = error.what();
            for (HWND dialog : DialogDriver::openDialogs()) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        }
    });
    const int result = host.plugin().entry().APCSetup(host.frame());
    user.join();
    std::printf("APCSetup returned %d\n", result);
    if (!failure.empty()) {
        std::printf("The tour stopped: %s\n", failure.c_str());
        return 1;
    }
    return 0;
}
