#include "ui/other_settings.h"

#include <string_view>

#include "base/platform.h"
#include "base/sjis.h"
#include "classifier/classifier_session.h"
#include "config/settings.h"
#include "config/settings_store.h"

namespace {
constexpr std::string_view kHttpPrefix = "http://";
}  // namespace

OtherSettingsForm OtherSettingsFormFor(const PluginSettings& settings)
{
    OtherSettingsForm form;
    form.checkConnect = settings.CheckConnect;
    form.afterSetBold = settings.AfterSetBold;
    form.subjectEdit = settings.SubjectEdit != 0;
    form.autoReceive = settings.AutoReceive;
    form.url = settings.URL;
    return form;
}

std::string CutUrlFieldText(const std::string& fieldText)
{
    if (fieldText.size() <= kUrlFieldLimit) {
        return fieldText;
    }
    return fieldText.substr(0, CutWithoutSplitting(fieldText, kUrlFieldLimit));
}

std::optional<std::string> RefuseClassifierUrl(ClassifierContext& context,
                                               const std::string& typedUrl)
{
    if (typedUrl.empty() || typedUrl == context.settings.URL) {
        return std::nullopt;
    }
    if (std::string_view(typedUrl).substr(0, kHttpPrefix.size()) != kHttpPrefix) {
        return std::string(kUrlNeedsHttpRefusal);
    }
    if (FetchSessionKey(context, typedUrl).empty()) {
        return std::string(kUrlNotClassifierRefusal);
    }
    return std::nullopt;
}

std::optional<std::string> ConfirmOtherSettings(ClassifierContext& context,
                                                const OtherSettingsForm& form)
{
    if (std::optional<std::string> refusal = RefuseClassifierUrl(context, form.url)) {
        return refusal;
    }
    PluginSettings& settings = context.settings;
    settings.URL = form.url;
    if (!settings.URL.empty() && settings.URL.back() != '/') {
        settings.URL += '/';
    }
    settings.CheckConnect = form.checkConnect;
    settings.AfterSetBold = form.afterSetBold;
    settings.SubjectEdit = form.subjectEdit ? 1 : 0;
    settings.AutoReceive = form.autoReceive;
    saveSettings(settings, context.platform.profile, context.platform.files);
    return std::nullopt;
}
