#include "host/correction_menu.h"

#include <cstdio>

#include "classifier/classifier_pages.h"
#include "classifier/reclassify.h"
#include "core/plugin_state.h"
#include "host/menu_writer.h"
#include "host/url_opener.h"
#include "mail/mail_text.h"

namespace {
constexpr const char* kOpenClassifierLabel = "POPFileを開く";
constexpr const char* kRefetchBucketsLabel = "バケツの再取得";
constexpr const char* kNoClassifierMessage = "POPFileの情報が取得できません";
constexpr const char* kNoClassificationMessage = "メールにPOPFileの情報が記録されていません";
constexpr const char* kMailExtension = ".CRV";

bool AppendOpenClassifierItem(ClassifierContext& context, const MenuCommandProcs& procs,
                              MenuWriter& menu, bool fromView)
{
    const unsigned command =
        context.state.host.APARegistCallback(procs.openClassifierPage, fromView ? 1 : 0);
    return menu.appendCommand(kOpenClassifierLabel, command);
}

void AppendCorrectionSubmenu(ClassifierContext& context, const MenuCommandProcs& procs,
                             HostWindow window, MenuWriter& menu, const std::string& label,
                             int32_t mode)
{
    if (std::unique_ptr<MenuWriter> submenu = menu.appendSubmenu(label)) {
        FillCorrectionMenu(context, procs, window, *submenu, mode);
    }
}

void AppendBucketItems(ClassifierContext& context, const MenuCommandProcs& procs,
                       MenuWriter& submenu, const std::vector<std::string>& buckets,
                       const std::optional<std::string>& current)
{
    for (std::size_t index = 0; index < buckets.size(); ++index) {
        const bool checked = current && buckets[index] == *current;
        const unsigned command = context.state.host.APARegistCallback(
            procs.reclassify, static_cast<intptr_t>(index));
        submenu.appendRadioItem(buckets[index], checked, command);
    }
}
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

int CountSelectedMails(const HostApi& host, HostWindow window)
{
    int count = 0;
    for (const char* entry = host.APAFolderGetSelectEntry(window, 1); entry != nullptr;
         entry = host.APAFolderGetSelectEntry(window, 0)) {
        ++count;
    }
    return count;
}

void FillCorrectionMenu(ClassifierContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& submenu, int32_t mode)
{
    context.state.reclassify.correctionMode = mode;
    const std::optional<std::string> mailPath = MailPathForWindow(context, window, mode);
    if (!mailPath) {
        return;
    }
    RememberClassifierAddress(context, *mailPath);
    std::optional<std::string> current;
    if (mode != kCorrectSeveralInFolder) {
        current = ReadCurrentClassification(context, *mailPath);
        if (!current) {
            submenu.appendMessage(kNoClassificationMessage);
            return;
        }
    }
    const std::vector<std::string>& buckets = GetBucketList(context);
    if (buckets.empty()) {
        submenu.appendMessage(kNoClassifierMessage);
        return;
    }
    AppendBucketItems(context, procs, submenu, buckets, current);
    submenu.appendSeparator();
    submenu.appendCommand(kRefetchBucketsLabel,
                          context.state.host.APARegistCallback(procs.refetchBuckets, 0));
}

void AddFolderMenuItems(ClassifierContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& menu)
{
    const int selected = CountSelectedMails(context.state.host, window);
    if (selected == 1) {
        const std::optional<std::string> current =
            CurrentClassificationForWindow(context, window, kCorrectOneInFolder);
        if (current) {
            AppendCorrectionSubmenu(context, procs, window, menu,
                                    SingleMailCorrectionLabel(*current), kCorrectOneInFolder);
        }
    } else if (selected > 1) {
        AppendCorrectionSubmenu(context, procs, window, menu,
                                SelectedMailsCorrectionLabel(selected), kCorrectSeveralInFolder);
    }
    AppendOpenClassifierItem(context, procs, menu, false);
}

bool AddViewMenuItems(ClassifierContext& context, const MenuCommandProcs& procs,
                      HostWindow window, MenuWriter& menu)
{
    const std::optional<std::string> current =
        CurrentClassificationForWindow(context, window, kCorrectViewedMail);
    if (current) {
        AppendCorrectionSubmenu(context, procs, window, menu, SingleMailCorrectionLabel(*current),
                                kCorrectViewedMail);
    }
    return AppendOpenClassifierItem(context, procs, menu, true);
}

bool OpenClassifierPage(ClassifierContext& context, UrlOpener& opener,
                        const std::optional<std::string>& mailPath)
{
    if (mailPath) {
        const std::optional<std::string> link = FindTrustedLink(context, *mailPath, kLinkBufferSize);
        if (link && IsBrowsableAddress(*link)) {
            LearnClassifierAddress(context, *link);
            opener.open(*link);
            return true;
        }
    }
    const std::string& url = context.state.settings.URL;
    if (!url.empty() && IsBrowsableAddress(url)) {
        opener.open(url);
        return true;
    }
    return false;
}

void OpenClassifierPageForMail(ClassifierContext& context, UrlOpener& opener, HostWindow window,
                               bool fromView)
{
    const HostApi& host = context.state.host;
    if (fromView) {
        const char* viewed = host.APAViewGetPath(window);
        OpenClassifierPage(context, opener,
                           viewed != nullptr ? std::optional<std::string>(viewed) : std::nullopt);
        return;
    }
    const char* entry = host.APAFolderGetCurrentEntry(window);
    if (entry == nullptr) {
        return;
    }
    const char* mailbox = host.APAGetMailbox();
    OpenClassifierPage(context, opener,
                       std::string(mailbox != nullptr ? mailbox : "") + entry + kMailExtension);
}

void OpenClassifierStartPage(ClassifierContext& context, UrlOpener& opener, HostWindow window)
{
    if (!OpenClassifierPage(context, opener, std::nullopt)) {
        OpenClassifierPageForMail(context, opener, window, false);
    }
}
