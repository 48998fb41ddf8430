// The plug-in's items in the host's folder and view menus: the correction submenu, which
// lists the classifier's buckets with the message's current bucket checked, and
// "POPFileを開く", which opens the classifier's page for the message in the browser.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/host_api.h"

struct ClassifierContext;
class MenuWriter;
class UrlOpener;

// Menu identifiers the host passes when it builds the menus the plug-in extends.
inline constexpr int kFolderMenuId = 102;
inline constexpr int kViewMenuBarId = 201;  // the items go into its fourth submenu
inline constexpr int kViewMenuId = 202;
inline constexpr int kViewMenuBarSubmenuIndex = 3;

// The host callbacks the items are registered for.
struct MenuCommandProcs {
    HostCommandProc reclassify;          // parameter: the bucket's index
    HostCommandProc refetchBuckets;      // parameter: 0
    HostCommandProc openClassifierPage;  // parameter: 1 from a view window, else 0
};

// Longest correction submenu label, in bytes.
inline constexpr std::size_t kCorrectionLabelLimit = 200;

// "POPFile訂正[bucket]", cut to its first 200 bytes.
std::string SingleMailCorrectionLabel(const std::string& bucket);

// "POPFile訂正(選択数 n)".
std::string SelectedMailsCorrectionLabel(int count);

// How many mails are selected in a folder window, as the host lists them.
int CountSelectedMails(const HostApi& host, HostWindow window);

// Fills an empty correction submenu for the window's mail (mode: a CorrectionMode) and
// remembers that mail as the one to correct: the buckets as radio items, the current one
// checked on an exact byte match (none with several mails), then a separator and
// "バケツの再取得". A message item instead when the mail carries no classification or no
// bucket list can be had; nothing when the window names no mail.
void FillCorrectionMenu(ClassifierContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& submenu, int32_t mode);

// The folder menu's items: the correction submenu when one mail with a classification or
// several mails are selected, then "POPFileを開く".
void AddFolderMenuItems(ClassifierContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& menu);

// The view menu's items: the correction submenu when the shown mail has a
// classification, then "POPFileを開く". Returns whether that last item was added.
bool AddViewMenuItems(ClassifierContext& context, const MenuCommandProcs& procs,
                      HostWindow window, MenuWriter& menu);

// Opens the mail's trusted "X-POPFile-Link:" page (learning the classifier's address from
// it), or else the URL setting, as for a mail without a link. Only http:// and https://
// addresses are opened; anything else counts as no address. Returns whether an address was
// handed to the browser.
bool OpenClassifierPage(ClassifierContext& context, UrlOpener& opener,
                        const std::optional<std::string>& mailPath);

// OpenClassifierPage for the mail shown in a view window (fromView) or the current mail of
// a folder window; nothing when the window names no mail.
void OpenClassifierPageForMail(ClassifierContext& context, UrlOpener& opener, HostWindow window,
                               bool fromView);

// The toolbar's open command: the URL setting first, else the folder window's current mail.
void OpenClassifierStartPage(ClassifierContext& context, UrlOpener& opener, HostWindow window);
