// The settings that are not rules, as the other-settings dialog shows them, and what its
// "Ｏ　Ｋ" button does: a new classifier address is tried against the classifier before
// anything is kept, then every setting is stored and written at once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

struct ClassifierContext;
struct PluginSettings;

// What the dialog's four check boxes and its URL field hold.
struct OtherSettingsForm {
    bool checkConnect = false;
    bool afterSetBold = false;
    bool subjectEdit = false;
    bool autoReceive = false;
    std::string url;
};

// The most bytes the URL field hands over.
inline constexpr std::size_t kUrlFieldLimit = 511;

// Caption of the refusal boxes and the two refusals, in the order they are tested.
inline constexpr const char* kOtherSettingsRefusalCaption = "Tarnwick";
inline constexpr const char* kUrlNeedsHttpRefusal = "URL は、 http:// を入力してください";
inline constexpr const char* kUrlNotClassifierRefusal = "URL が正しくありません";

// The form for the settings as they stand; SubjectEdit is ticked when it is not 0.
OtherSettingsForm OtherSettingsFormFor(const PluginSettings& settings);

// The URL field's text as the dialog takes it: its first 511 bytes, one byte fewer when
// the last kept byte would be the first half of a double-byte character.
std::string CutUrlFieldText(const std::string& fieldText);

// The refusal for a typed URL, or nothing when it may be stored. An empty URL or one equal
// to the current URL (byte for byte) is not tested. Otherwise it must begin with "http://"
// exactly, and the page at that address must hold a session key; that fetch replaces the
// classifier link's session key.
std::optional<std::string> RefuseClassifierUrl(ClassifierContext& context,
                                               const std::string& typedUrl);

// "Ｏ　Ｋ": the refusal when the URL is refused (nothing is stored or written then);
// otherwise stores the form (the URL with "/" appended when it does not end in one), writes
// the Setup keys with saveSettings and returns nothing.
std::optional<std::string> ConfirmOtherSettings(ClassifierContext& context,
                                                const OtherSettingsForm& form);
