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

// What the submenu needs of a message: its "X-Text-Classification:" value and its first
// trusted "X-POPFile-Link:" value, each as a 4096-byte buffer holds it, from one reading.
struct CorrectionHeaders {
    std::optional<std::string> classification;
    std::optional<std::string> link;
};

CorrectionHeaders ReadCorrectionHeaders(const ClassifierContext& classifier,
                                        const std::string& mailPath)
{
    const std::string url = classifier.settings.URL;
    std::vector<HeaderLineQuery> queries = {
        {kClassificationHeader, [](const std::string&) { return true; }, std::nullopt},
        {kLinkHeader, [&url](const std::string& link) { return IsTrustedLink(link, url); },
         std::nullopt}};
    FindHeaderLines(mailPath, kHeaderBufferSize, queries);
    return {queries[0].value, queries[1].value};
}

// Fills the submenu for the message at mailPath and remembers it for the bucket items; the
// classifier's address is learnt from the message's link.
void FillCorrectionSubmenu(CorrectionContext& context, const MenuCommandProcs& procs,
                           MenuWriter& submenu, const std::string& mailPath,
                           const CorrectionHeaders& headers, int32_t mode)
{
    context.state.reclassify.currentMailPath = mailPath;
    if (headers.link) {
        LearnClassifierAddress(context.classifier, *headers.link);
    }
    std::optional<std::string> current;
    if (mode != kCorrectSeveralInFolder) {
        current = headers.classification;
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

// The submenu item labelled label, filled for the message at mailPath (empty without one).
void AppendCorrectionSubmenu(CorrectionContext& context, const MenuCommandProcs& procs,
                             MenuWriter& menu, const std::string& label,
                             const std::optional<std::string>& mailPath,
                             const CorrectionHeaders& headers, int32_t mode)
{
    if (std::unique_ptr<MenuWriter> submenu = menu.appendSubmenu(label)) {
        context.state.reclassify.correctionMode = mode;
        if (mailPath) {
            FillCorrectionSubmenu(context, procs, *submenu, *mailPath, headers, mode);
        }
    }
}

}  // namespace

void FillCorrectionMenu(CorrectionContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& submenu, int32_t mode)
{
    context.state.reclassify.correctionMode = mode;
    const std::optional<std::string> mailPath = MailPathForWindow(context.state.host, window, mode);
    if (mailPath) {
        FillCorrectionSubmenu(context, procs, submenu, *mailPath,
                              ReadCorrectionHeaders(context.classifier, *mailPath), mode);
    }
}

void AddFolderMenuItems(CorrectionContext& context, const MenuCommandProcs& procs,
                        HostWindow window, MenuWriter& menu)
{
    const HostApi& host = context.state.host;
    const int selected = CountSelectedMails(host, window);
    if (selected >= 1) {
        const int32_t mode = selected == 1 ? kCorrectOneInFolder : kCorrectSeveralInFolder;
        const std::optional<std::string> mailPath = MailPathForWindow(host, window, mode);
        const CorrectionHeaders headers =
            mailPath ? ReadCorrectionHeaders(context.classifier, *mailPath) : CorrectionHeaders();
        if (selected > 1) {
            AppendCorrectionSubmenu(context, procs, menu, SelectedMailsCorrectionLabel(selected),
                                    mailPath, headers, mode);
        } else if (headers.classification) {
            AppendCorrectionSubmenu(context, procs, menu,
                                    SingleMailCorrectionLabel(*headers.classification), mailPath,
                                    headers, mode);
        }
    }
    AppendOpenClassifierItem(host, procs, menu, false);
    if (selected == 1) {
        AppendExplainFilingItem(host, procs, menu, false);
    }
}

bool AddViewMenuItems(CorrectionContext& context, const MenuCommandProcs& procs,
                      HostWindow window, MenuWriter& menu)
{
    const HostApi& host = context.state.host;
    const std::optional<std::string> mailPath = MailPathForWindow(host, window, kCorrectViewedMail);
    if (mailPath) {
        const CorrectionHeaders headers = ReadCorrectionHeaders(context.classifier, *mailPath);
        if (headers.classification) {
            AppendCorrectionSubmenu(context, procs, menu,
                                    SingleMailCorrectionLabel(*headers.classification), mailPath,
                                    headers, kCorrectViewedMail);
        }
    }
    const bool added = AppendOpenClassifierItem(host, procs, menu, true);
    AppendExplainFilingItem(host, procs, menu, true);
    return added;
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
