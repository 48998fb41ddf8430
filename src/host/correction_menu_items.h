// The plug-in's items in the host's folder and view menus, as they are written: the
// correction submenu's label, its bucket items with the current bucket checked, its notices,
// and "POPFileを開く". Every item that carries a command registers it with the host.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/host_api.h"

class MenuWriter;

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
    HostCommandProc explainFiling;       // parameter: 1 from a view window, else 0
};

// Longest correction submenu label, in bytes.
inline constexpr std::size_t kCorrectionLabelLimit = 200;

// The submenu's notice for a message without classification, and for a classifier that
// gave no bucket list.
inline constexpr const char* kNoClassificationNotice = "メールにPOPFileの情報が記録されていません";
inline constexpr const char* kNoClassifierNotice = "POPFileの情報が取得できません";

// "POPFile訂正[bucket]", cut to its first 200 bytes.
std::string SingleMailCorrectionLabel(const std::string& bucket);

// "POPFile訂正(選択数 n)".
std::string SelectedMailsCorrectionLabel(int count);

// The buckets as radio items, each carrying the reclassify command with its index, the one
// equal to current byte for byte checked (none without current); then a separator and
// "バケツの再取得".
void AppendBucketItems(const HostApi& host, const MenuCommandProcs& procs, MenuWriter& submenu,
                       const std::vector<std::string>& buckets,
                       const std::optional<std::string>& current);

// "POPFileを開く" with the open command (parameter 1 from a view window); whether it was added.
bool AppendOpenClassifierItem(const HostApi& host, const MenuCommandProcs& procs,
                              MenuWriter& menu, bool fromView);

// "振り分けの理由" with the explanation's command (parameter 1 from a view window).
void AppendExplainFilingItem(const HostApi& host, const MenuCommandProcs& procs, MenuWriter& menu,
                             bool fromView);
