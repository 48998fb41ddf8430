// What the plug-in adds to the host's folder and view menus, decided for the window's
// message: the correction submenu, which lists the classifier's buckets with the message's
// current bucket checked and remembers the message for the bucket items' command, and
// "POPFileを開く", which opens the classifier's page for the message in the browser.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/host_api.h"
#include "host/correction_menu_items.h"

struct CorrectionContext;
class MenuWriter;
class UrlOpener;

// Fills an empty correction submenu for the window's mail (mode: a CorrectionMode) and
// remembers that mail as the one to correct: the buckets as radio items, the current one
// checked on an exact byte match (none with several mails), then a separator and
// "バケツの再取得". A notice instead when the mail carries no classification or no bucket
// list can be had; nothing when the window names no mail.
void FillCorrectionMenu(CorrectionContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& submenu, int32_t mode);

// The folder menu's items: the correction submenu when one mail with a classification or
// several mails are selected, then "POPFileを開く", and with one mail "振り分けの理由".
void AddFolderMenuItems(CorrectionContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& menu);

// The view menu's items: the correction submenu when the shown mail has a classification,
// then "POPFileを開く" and "振り分けの理由". Returns whether "POPFileを開く" was added.
bool AddViewMenuItems(CorrectionContext& context, const MenuCommandProcs& procs,
                      HostWindow window, MenuWriter& menu);

// Opens the mail's trusted "X-POPFile-Link:" page (learning the classifier's address from
// it), or else the URL setting, as for a mail without a link. Only http:// and https://
// addresses are opened; anything else counts as no address. Returns whether an address was
// handed to the browser.
bool OpenClassifierPage(CorrectionContext& context, UrlOpener& opener,
                        const std::optional<std::string>& mailPath);

// OpenClassifierPage for the mail shown in a view window (fromView) or the current mail of
// a folder window; nothing when the window names no mail.
void OpenClassifierPageForMail(CorrectionContext& context, UrlOpener& opener, HostWindow window,
                               bool fromView);

// The toolbar's open command: the URL setting first, else the folder window's current mail.
void OpenClassifierStartPage(CorrectionContext& context, UrlOpener& opener, HostWindow window);
