#include "host/correction_menu_items.h"

#include <cstdio>

#include "host/menu_writer.h"

namespace {
constexpr const char* kOpenClassifierLabel = "POPFileを開く";
constexpr const char* kRefetchBucketsLabel = "バケツの再取得";
constexpr const char* kExplainFilingLabel = "振り分けの理由";
}  // namespace

std::string SingleMailCorrectionLabel(const std::string& bucket)
{
    std::string label = "POPFile訂正[" + bucket + "]";
    if (label.size() > kCorrectionLabelLimit) {
        label.resize(kCorrectionLabelLimit);
    }
    return label;
}

std::string SelectedMailsCorrectionLabel(int count)
{
    char label[kCorrectionLabelLimit];
    std::snprintf(label, sizeof label, "POPFile訂正(選択数 %d)", count);
    return label;
}

void AppendBucketItems(const HostApi& host, const MenuCommandProcs& procs, MenuWriter& submenu,
                       const std::vector<std::string>& buckets,
                       const std::optional<std::string>& current)
{
    for (std::size_t index = 0; index < buckets.size(); ++index) {
        const bool checked = current && buckets[index] == *current;
        const unsigned command =
            host.APARegistCallback(procs.reclassify, static_cast<intptr_t>(index));
        submenu.appendRadioItem(buckets[index], checked, command);
    }
    submenu.appendSeparator();
    submenu.appendCommand(kRefetchBucketsLabel, host.APARegistCallback(procs.refetchBuckets, 0));
}

bool AppendOpenClassifierItem(const HostApi& host, const MenuCommandProcs& procs,
                              MenuWriter& menu, bool fromView)
{
    const unsigned command = host.APARegistCallback(procs.openClassifierPage, fromView ? 1 : 0);
    return menu.appendCommand(kOpenClassifierLabel, command);
}

void AppendExplainFilingItem(const HostApi& host, const MenuCommandProcs& procs, MenuWriter& menu,
                             bool fromView)
{
    menu.appendCommand(kExplainFilingLabel, host.APARegistCallback(procs.explainFiling, fromView ? 1 : 0));
}
