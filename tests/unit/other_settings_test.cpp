#include "ui/other_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/classifier_doubles.h"
#include "doubles/plugin_ini_test.h"

namespace {

constexpr const char* kCurrentUrl = "http://127.0.0.1:8080/";
constexpr const char* kNewUrl = "http://127.0.0.1:9090";  // no closing slash
constexpr const char* kStartPageKey = "7f3c9a01be5d42e8a6c4d2f09b1e8a73";

class OtherSettingsTest : public ::testing::Test, protected ClassifierDoubles {
protected:
    void SetUp() override
    {
        state.settings.URL = kCurrentUrl;
        state.settings.SubjectEdit = 1;
        state.reclassify.sessionKey = "old-key";
        http.serve(kNewUrl, ReadDiskFile(TestDataPath("classifier/start_page.html")));
    }

    OtherSettingsForm FormWithUrl(const std::string& url)
    {
        OtherSettingsForm form = OtherSettingsFormFor(state.settings);
        form.url = url;
        return form;
    }

    std::vector<ProfileCall> Writes() const
    {
        std::vector<ProfileCall> writes;
        for (const ProfileCall& call : profile.calls()) {
            if (call.kind == ProfileCall::Kind::WriteString || call.kind == ProfileCall::Kind::Flush) {
                writes.push_back(call);
            }
        }
        return writes;
    }
};

ProfileCall Write(const std::string& key, const std::string& value)
{
    return {ProfileCall::Kind::WriteString, kTestPluginIni, "Setup", key, value};
}

TEST_F(OtherSettingsTest, RefusedUrlsKeepEverythingAsItWas)
{
    struct Row {
        std::string url;
        const char* refusal;
        std::size_t requests;  // fetches the test made
    };
    const std::vector<Row> rows = {
        {"HTTP://127.0.0.1:9090", kUrlNeedsHttpRefusal, 0},
        {"Http://127.0.0.1:9090/", kUrlNeedsHttpRefusal, 0},
        {"https://127.0.0.1:9090/", kUrlNeedsHttpRefusal, 0},
        {"127.0.0.1:9090/", kUrlNeedsHttpRefusal, 0},
        {"http://127.0.0.1:1/", kUrlNotClassifierRefusal, 1},  // cannot be reached
        {"http://127.0.0.1:7070/", kUrlNotClassifierRefusal, 1},  // no session key
    };
    for (const Row& row : rows) {
        http = HttpClientFake();
        http.serve("http://127.0.0.1:7070/", "<html>a web page, but not the classifier's</html>");
        OtherSettingsForm form = FormWithUrl(row.url);
        form.checkConnect = true;
        EXPECT_EQ(ConfirmOtherSettings(context, form), std::optional<std::string>(row.refusal))
            << row.url;
        ASSERT_EQ(http.requests().size(), row.requests) << row.url;
        if (row.requests == 1) {
            EXPECT_EQ(http.requests()[0].url, row.url);
            EXPECT_EQ(state.reclassify.sessionKey, "") << "the test empties the key first";
        }
        EXPECT_EQ(state.settings.URL, kCurrentUrl);
        EXPECT_FALSE(state.settings.CheckConnect);
    }
    EXPECT_TRUE(Writes().empty());
}

TEST_F(OtherSettingsTest, AcceptedUrlGetsItsSlashAndEverySettingIsWrittenInOrder)
{
    OtherSettingsForm form = FormWithUrl(kNewUrl);
    form.checkConnect = true;
    form.afterSetBold = true;
    form.subjectEdit = false;
    form.autoReceive = true;
    state.settings.DispDialog = true;
    state.settings.DispFrom = true;
    state.settings.DispSubject = true;

    EXPECT_EQ(ConfirmOtherSettings(context, form), std::nullopt);
    EXPECT_EQ(state.settings.URL, std::string(kNewUrl) + "/");
    EXPECT_EQ(state.reclassify.sessionKey, kStartPageKey);
    EXPECT_EQ(state.settings.SubjectEdit, 0);
    const std::vector<ProfileCall> expected = {
        Write("DispDialog", "1"),   Write("Beep", "0"),
        Write("DispFrom", "1"),     Write("DispSubject", "1"),
        Write("CheckConnect", "1"), Write("AfterSetBold", "1"),
        Write("SubjectEdit", "0"),  Write("URL", std::string(kNewUrl) + "/"),
        Write("AutoReceive", "1"),  {ProfileCall::Kind::Flush, kTestPluginIni, "", "", ""},
    };
    EXPECT_EQ(Writes(), expected);
}

TEST_F(OtherSettingsTest, EmptyOrUnchangedUrlIsStoredWithoutATest)
{
    EXPECT_EQ(ConfirmOtherSettings(context, FormWithUrl(kCurrentUrl)), std::nullopt);
    EXPECT_EQ(state.settings.URL, kCurrentUrl);
    EXPECT_EQ(ConfirmOtherSettings(context, FormWithUrl("")), std::nullopt);
    EXPECT_EQ(state.settings.URL, "");
    EXPECT_TRUE(http.requests().empty());
    EXPECT_EQ(state.reclassify.sessionKey, "old-key");
    EXPECT_EQ(profile.value(kTestPluginIni, "Setup", "URL"), std::optional<std::string>(""));
    EXPECT_EQ(profile.value(kTestPluginIni, "Setup", "SubjectEdit"), std::optional<std::string>("1"));
}

TEST(UrlFieldTextTest, KeepsAtMost511BytesAndNoHalfCharacter)
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
