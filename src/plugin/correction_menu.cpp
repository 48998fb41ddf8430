#include "plugin/correction_menu.h"

#include "classifier/classifier_pages.h"
#include "host/menu_writer.h"
#include "host/url_opener.h"
#include "mail/classification.h"
#include "mail/mail_text.h"
#include "mailbox/mailbox.h"
#include "plugin/correct_mail.h"
#include "plugin/plugin_state.h"

namespace {

void AppendCorrectionSubmenu(CorrectionContext& context, const MenuCommandProcs& procs,
                             HostWindow window, MenuWriter& menu, const std::string& label,
                             int32_t mode)
{
    if (std::unique_ptr<MenuWriter> submenu = menu.appendSubmenu(label)) {
        FillCorrectionMenu(context, procs, window, *submenu, mode);
    }
}

// The mail's "X-Text-Classification:" value, as a 4096-byte buffer holds it.
std::optional<std::string> ReadCurrentClassification(const std::string& mailPath)
{
    return FindHeaderLine(mailPath, kClassificationHeader, kHeaderBufferSize);
}

}  // namespace

void FillCorrectionMenu(CorrectionContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& submenu, int32_t mode)
{
    ReclassifyState& reclassify = context.state.reclassify;
    reclassify.correctionMode = mode;
    const std::optional<std::string> mailPath = MailPathForWindow(context.state.host, window, mode);
    if (!mailPath) {
        return;
    }
    reclassify.currentMailPath = *mailPath;
    RememberClassifierAddress(context.classifier, *mailPath);
    std::optional<std::string> current;
    if (mode != kCorrectSeveralInFolder) {
        current = ReadCurrentClassification(*mailPath);
        if (!current) {
            submenu.appendMessage(kNoClassificationNotice);
            return;
        }
    }
    const std::vector<std::string>& buckets = GetBucketList(context.classifier);
    if (buckets.empty()) {
        submenu.appendMessage(kNoClassifierNotice);
        return;
    }
    AppendBucketItems(context.state.host, procs, submenu, buckets, current);
}

void AddFolderMenuItems(CorrectionContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& menu)
{
    const HostApi& host = context.state.host;
    const int selected = CountSelectedMails(host, window);
    if (selected == 1) {
        const std::optional<std::string> mailPath =
            MailPathForWindow(host, window, kCorrectOneInFolder);
        const std::optional<std::string> current =
            mailPath ? ReadCurrentClassification(*mailPath) : std::nullopt;
        if (current) {
            AppendCorrectionSubmenu(context, procs, window, menu,
                                    SingleMailCorrectionLabel(*current), kCorrectOneInFolder);
        }
    } else if (selected > 1) {
        AppendCorrectionSubmenu(context, procs, window, menu,
                                SelectedMailsCorrectionLabel(selected), kCorrectSeveralInFolder);
    }
    AppendOpenClassifierItem(host, procs, menu, false);
}

bool AddViewMenuItems(CorrectionContext& context, const MenuCommandProcs& procs,
                      HostWindow window, MenuWriter& menu)
{
    const HostApi& host = context.state.host;
    const std::optional<std::string> mailPath = MailPathForWindow(host, window, kCorrectViewedMail);
    const std::optional<std::string> current =
        mailPath ? ReadCurrentClassification(*mailPath) : std::nullopt;
    if (current) {
        AppendCorrectionSubmenu(context, procs, window, menu, SingleMailCorrectionLabel(*current),
                                kCorrectViewedMail);
    }
    return AppendOpenClassifierItem(host, procs, menu, true);
}

bool OpenClassifierPage(CorrectionContext& context, UrlOpener& opener,
                        const std::optional<std::string>& mailPath)
{
    if (mailPath) {
        const std::optional<std::string> link =
            FindTrustedLink(context.classifier, *mailPath, kLinkBufferSize);
        if (link && IsBrowsableAddress(*link)) {
            LearnClassifierAddress(context.classifier, *link);
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

void OpenClassifierPageForMail(CorrectionContext& context, UrlOpener& opener, HostWindow window,
                               bool fromView)
{
    const std::optional<std::string> mailPath = MailPathForWindow(
        context.state.host, window, fromView ? kCorrectViewedMail : kCorrectOneInFolder);
    if (mailPath || fromView) {
        OpenClassifierPage(context, opener, mailPath);
    }
}

void OpenClassifierStartPage(CorrectionContext& context, UrlOpener& opener, HostWindow window)
{
    if (!OpenClassifierPage(context, opener, std::nullopt)) {
        OpenClassifierPageForMail(context, opener, window, false);
    }
}
