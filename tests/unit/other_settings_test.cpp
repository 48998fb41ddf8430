#include "ui/other_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "doubles/classifier_doubles.h"
#include "doubles/plugin_ini_test.h"

namespace {

constexpr const char* kCurrentUrl = "http://127.0.0.1:8080/";

// Clearing the URL field stores an empty URL without testing it (the dialog's Wine test
// covers the tests a new URL gets).
TEST(OtherSettingsTest, EmptyUrlIsStoredWithoutATest)
{
    ClassifierDoubles doubles;
    doubles.state.settings.URL = kCurrentUrl;
    EXPECT_EQ(ConfirmOtherSettings(doubles.classifier, OtherSettingsForm()), std::nullopt);
    EXPECT_EQ(doubles.state.settings.URL, "");
    EXPECT_TRUE(doubles.http.requests().empty());
    EXPECT_EQ(doubles.profile.value(kTestPluginIni, "Setup", "URL"), std::optional<std::string>(""));
}

TEST(OtherSettingsTest, UrlFieldKeepsAtMost511BytesAndNoHalfCharacter)
{
    const std::string kanji = "\x8a\xbf";  // 漢, a lead byte and a trail byte
    EXPECT_EQ(CutUrlFieldText(std::string(600, 'a')), std::string(511, 'a'));
    EXPECT_EQ(CutUrlFieldText(std::string(511, 'a')), std::string(511, 'a'));
    EXPECT_EQ(CutUrlFieldText(std::string(509, 'a') + kanji + "b"), std::string(509, 'a') + kanji);
    EXPECT_EQ(CutUrlFieldText(std::string(510, 'a') + kanji), std::string(510, 'a'));
    // "ソ" is 83 5C: its trail byte is no character of its own.
    EXPECT_EQ(CutUrlFieldText(std::string(510, 'a') + "\x83\x5c" + "/"), std::string(510, 'a'));
}

}  // namespace
