// The settings dialogs the client opens through APCSetup, driven as a user would from a
// second thread: the sorting-rule list and edit dialogs and the header-rule list and edit
// dialogs, with what they leave in the plug-in's INI file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "driven_run_win.h"
#include "host_fixture.h"
#include "stand_in_classifier_win.h"
#include "base/resource_ids.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

constexpr const char* kSortListCaption = "Tarnwick 振り分け設定";
constexpr const char* kSortEditCaption = "振り分け設定";
constexpr const char* kHeaderListCaption = "Tarnwick 追加ヘッダ";
constexpr const char* kHeaderEditCaption = "ヘッダ定義";

using SetupRun = DrivenRun;

// APCSetup(owner) on this thread while user drives its dialogs from a second thread.
SetupRun RunSetup(const PluginEntryPoints& plugin, HWND owner,
                  const std::function<void(DialogDriver&)>& user)
{
    return RunDriven([&] { return plugin.APCSetup(owner); }, user);
}

// The file's non-empty lines without their line ends, in file order.
Texts IniLines(const std::string& bytes)
{
    Texts lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
        start = end + 1;
    }
    return lines;
}

std::string IniText(const Texts& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// A Shift-JIS text of exactly 511 bytes whose byte 499 starts a double-byte character:
// "ab", 254 times "あ", then last.
std::string LongText(char last)
{
    std::string text = "ab";
    for (int i = 0; i < 254; ++i) {
        text += "あ";
    }
    return text + last;
}

class RuleDialogsTest : public HostFixture {
protected:
    // Starts the plug-in with ini and shows the account's inbox, whose folders the edit
    // dialog then offers.
    void StartWith(const Texts& ini)
    {
        iniBefore = IniText(ini);
        writePluginIni(iniBefore);
        const std::string account = addAccount("acct", "私の口座");
        mailbox().addFolder(account, "仕事");
        mailbox().addFolder(mailbox().addGroup(account, "趣味"), "旅行");
        ASSERT_TRUE(startPlugin());
        host().openFolder(Mailbox::inbox(account));
    }

    SetupRun Setup(const std::function<void(DialogDriver&)>& user)
    {
        return RunSetup(plugin(), host().frame(), user);
    }

    Texts IniNow() { return IniLines(pluginIniBytes().value_or("")); }

    std::string iniBefore;
};

TEST_F(RuleDialogsTest, AddingARuleChecksTheFormAndOkWritesTheRules)
{
    StandInClassifier classifier;
    ASSERT_TRUE(classifier.running());
    classifier.setBuckets({"work", "spam", "unclassified"});
    const std::string url = "URL=" + classifier.baseUrl();
    StartWith({"[Setup]", "CheckConnect=0", url, "[MoveMail]", "spam=ごみ箱", "work=仕事",
               "[Action]", "spam=2,1,0", "work=1,0,0", "[Mark]", "work=1"});

    Rows rowsBefore, rowsAfterAdd, rowsAfterEscape;
    Texts buckets, folders, actions, messages;
    std::vector<DialogDriver::ImageItem> marks;
    int markImages = 0;
    Texts firstForm, nextForm;
    const SetupRun run = Setup([&](DialogDriver& user) {
        HWND list = user.waitForDialog(kSortListCaption, IDC_SORT_RULE_LIST);
        rowsBefore = user.listRows(list, IDC_SORT_RULE_LIST);

        user.press(list, IDC_SORT_RULE_ADD);
        HWND edit = user.waitForDialog(kSortEditCaption, IDC_RULE_MARK);
        buckets = user.comboItems(edit, IDC_RULE_BUCKET);
        folders = user.comboItems(edit, IDC_RULE_FOLDER);
        actions = user.comboItems(edit, IDC_RULE_ACTION);
        marks = user.imageComboItems(edit, IDC_RULE_MARK);
        markImages = user.imageComboImageCount(edit, IDC_RULE_MARK);
        firstForm = {user.text(edit, IDC_RULE_BUCKET), user.text(edit, IDC_RULE_FOLDER),
                     std::to_string(user.comboSelection(edit, IDC_RULE_ACTION)),
                     std::to_string(user.comboSelection(edit, IDC_RULE_MARK))};

        user.press(edit, IDOK);
        messages.push_back(user.answerMessageBox("エラー", IDOK));
        user.setText(edit, IDC_RULE_BUCKET, "SPAM");
        user.selectComboItem(edit, IDC_RULE_FOLDER, 4);
        user.press(edit, IDOK);
        messages.push_back(user.answerMessageBox("エラー", IDOK));
        user.setText(edit, IDC_RULE_BUCKET, "news");
        user.selectComboItem(edit, IDC_RULE_ACTION, 1);
        user.selectComboItem(edit, IDC_RULE_MARK, 1);
        user.setChecked(edit, IDC_RULE_DELETE_FROM_SERVER, true);
        user.closeWith(edit, IDOK);
        rowsAfterAdd = user.listRows(list, IDC_SORT_RULE_LIST);

        // The next new rule starts with the action, mark and flags of the last one.
        user.press(list, IDC_SORT_RULE_ADD);
        edit = user.waitForDialog(kSortEditCaption, IDC_RULE_MARK);
        nextForm = {user.text(edit, IDC_RULE_BUCKET), user.text(edit, IDC_RULE_FOLDER),
                    std::to_string(user.comboSelection(edit, IDC_RULE_ACTION)),
                    std::to_string(user.comboSelection(edit, IDC_RULE_MARK)),
                    user.isChecked(edit, IDC_RULE_DELETE_FROM_SERVER) ? "checked" : "clear",
                    user.isChecked(edit, IDC_RULE_DUPLICATE) ? "checked" : "clear"};
        user.pressKey(edit, VK_ESCAPE);
        user.waitUntilClosed(edit);
        rowsAfterEscape = user.listRows(list, IDC_SORT_RULE_LIST);
        user.closeWith(list, IDOK);
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.result, 1);

    EXPECT_EQ(rowsBefore, (Rows{{"spam", "ごみ箱"}, {"work", "仕事"}}));
    EXPECT_EQ(buckets, (Texts{"work", "spam", "unclassified", "unclassified"}));
    EXPECT_EQ(folders, (Texts{"ごみ箱", "郵便受け", "送信箱", "仕事", "趣味\\旅行"}));
    EXPECT_EQ(actions, (Texts{"アイコンを変更する(自動チェック時)", "メッセージを表示する", "何もしない"}));
    const Texts markLabels = {"マークを付けない", "赤色", "黄色", "緑色", "水色", "青色", "紫色", "灰色"};
    ASSERT_EQ(marks.size(), markLabels.size());
    for (std::size_t i = 0; i < marks.size(); ++i) {
        EXPECT_EQ(marks[i].text, markLabels[i]) << i;
        EXPECT_EQ(marks[i].image, i == 0 ? I_IMAGENONE : static_cast<int>(i) - 1) << i;
    }
    EXPECT_EQ(markImages, 7);
    EXPECT_EQ(firstForm, (Texts{"", "", "0", "0"}));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "分類が入力されていません\n移動先フォルダが入力されていません");
    EXPECT_EQ(messages[1], "分類が重複しています");
    EXPECT_EQ(rowsAfterAdd, (Rows{{"spam", "ごみ箱"}, {"work", "仕事"}, {"news", "趣味\\旅行"}}));
    EXPECT_EQ(nextForm, (Texts{"", "", "1", "1", "checked", "clear"}));
    EXPECT_EQ(rowsAfterEscape, rowsAfterAdd);

    // MoveMail and Mark are written anew, so they now follow the Action section.
    EXPECT_EQ(IniNow(), (Texts{"[Setup]", "CheckConnect=0", url, "[Action]", "spam=2,1,0",
                               "work=1,0,0", "news=1,1,0", "[MoveMail]", "spam=ごみ箱",
                               "work=仕事", "news=趣味\\旅行", "[Mark]", "work=1", "news=1"}));
}

TEST_F(RuleDialogsTest, CancelCloseBoxEscapeAndUnchangedOkWriteNothing)
{
    StartWith({"[Setup]", "CheckConnect=0", "[MoveMail]", "spam=ごみ箱", "work=仕事", "[Action]",
               "spam=2,1,0", "work=1,0,0", "[Mark]", "work=1"});
    const Rows original = {{"spam", "ごみ箱"}, {"work", "仕事"}};

    std::string question;
    Rows edited, afterNo, reopened;
    Texts editForm;
    const SetupRun cancelled = Setup([&](DialogDriver& user) {
        HWND list = user.waitForDialog(kSortListCaption, IDC_SORT_RULE_LIST);
        user.doubleClickListRow(list, IDC_SORT_RULE_LIST, 1);
        HWND edit = user.waitForDialog(kSortEditCaption, IDC_RULE_MARK);
        editForm = {user.text(edit, IDC_RULE_BUCKET), user.text(edit, IDC_RULE_FOLDER),
                    std::to_string(user.comboSelection(edit, IDC_RULE_MARK))};
        user.setText(edit, IDC_RULE_FOLDER, "郵便受け");
        user.closeWith(edit, IDOK);

        user.selectListRow(list, IDC_SORT_RULE_LIST, 0);
        user.press(list, IDC_SORT_RULE_DELETE);
        question = user.answerMessageBox("確認", IDYES);
        user.press(list, IDC_SORT_RULE_ADD);
        edit = user.waitForDialog(kSortEditCaption, IDC_RULE_MARK);
        user.setText(edit, IDC_RULE_BUCKET, "news");
        user.setText(edit, IDC_RULE_FOLDER, "ごみ箱");
        user.closeWith(edit, IDOK);
        edited = user.listRows(list, IDC_SORT_RULE_LIST);
        user.closeWith(list, IDCANCEL);
    });
    ASSERT_EQ(cancelled.failure, "");
    EXPECT_EQ(cancelled.result, 2);
    EXPECT_EQ(editForm, (Texts{"work", "仕事", "1"}));
    EXPECT_EQ(question, "spam を削除してもよろしいですか？");
    EXPECT_EQ(edited, (Rows{{"work", "郵便受け"}, {"news", "ごみ箱"}}));
    EXPECT_EQ(pluginIniBytes(), iniBefore);

    const SetupRun closed = Setup([&](DialogDriver& user) {
        HWND list = user.waitForDialog(kSortListCaption, IDC_SORT_RULE_LIST);
        user.press(list, IDC_SORT_RULE_ADD);
        HWND edit = user.waitForDialog(kSortEditCaption, IDC_RULE_MARK);
        user.setText(edit, IDC_RULE_BUCKET, "news");
        user.setText(edit, IDC_RULE_FOLDER, "ごみ箱");
        user.closeFromCaption(edit);
        user.waitUntilClosed(edit);
        user.press(list, IDC_SORT_RULE_ADD);
        edit = user.waitForDialog(kSortEditCaption, IDC_RULE_MARK);
        user.setText(edit, IDC_RULE_BUCKET, "news");
        user.setText(edit, IDC_RULE_FOLDER, "ごみ箱");
        user.closeWith(edit, IDOK);
        user.closeFromCaption(list);
        user.waitUntilClosed(list);
    });
    ASSERT_EQ(closed.failure, "");
    EXPECT_EQ(closed.result, 0);
    EXPECT_EQ(pluginIniBytes(), iniBefore);

    const SetupRun escaped = Setup([&](DialogDriver& user) {
        HWND list = user.waitForDialog(kSortListCaption, IDC_SORT_RULE_LIST);
        user.selectListRow(list, IDC_SORT_RULE_LIST, 1);
        user.press(list, IDC_SORT_RULE_DELETE);
        user.answerMessageBox("確認", IDNO);
        afterNo = user.listRows(list, IDC_SORT_RULE_LIST);
        user.pressKey(list, VK_ESCAPE);
        user.waitUntilClosed(list);
    });
    ASSERT_EQ(escaped.failure, "");
    EXPECT_EQ(escaped.result, 2);
    EXPECT_EQ(afterNo, original);
    EXPECT_EQ(pluginIniBytes(), iniBefore);

    const SetupRun unchanged = Setup([&](DialogDriver& user) {
        HWND list = user.waitForDialog(kSortListCaption, IDC_SORT_RULE_LIST);
        reopened = user.listRows(list, IDC_SORT_RULE_LIST);
        user.closeWith(list, IDOK);
    });
    ASSERT_EQ(unchanged.failure, "");
    EXPECT_EQ(unchanged.result, 1);
    EXPECT_EQ(reopened, original);
    EXPECT_EQ(pluginIniBytes(), iniBefore);
}

TEST_F(RuleDialogsTest, LongTextsFromTheIniFileAreShownWholeAndCutOnlyWhenRead)
{
    const std::string bucket = LongText('c');
    const std::string folder = LongText('f');
    ASSERT_EQ(bucket.size(), 511u);
    // Action 5 and mark 9 are not among the dialog's items.
    StartWith({"[Setup]", "CheckConnect=0", "[MoveMail]", bucket + "=" + folder, "spam=ごみ箱",
               "[Action]", bucket + "=5,0,1", "[Mark]", bucket + "=9"});

    Rows before, after;
    Texts shown;
    const SetupRun run = Setup([&](DialogDriver& user) {
        HWND list = user.waitForDialog(kSortListCaption, IDC_SORT_RULE_LIST);
        before = user.listRows(list, IDC_SORT_RULE_LIST);
        user.doubleClickListRow(list, IDC_SORT_RULE_LIST, 0);
        HWND edit = user.waitForDialog(kSortEditCaption, IDC_RULE_MARK);
        shown = {user.text(edit, IDC_RULE_BUCKET), user.text(edit, IDC_RULE_FOLDER),
                 std::to_string(user.comboSelection(edit, IDC_RULE_ACTION)),
                 std::to_string(user.comboSelection(edit, IDC_RULE_MARK)),
                 user.isChecked(edit, IDC_RULE_DUPLICATE) ? "checked" : "clear"};
        user.closeWith(edit, IDOK);
        after = user.listRows(list, IDC_SORT_RULE_LIST);
        user.closeWith(list, IDOK);
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(before, (Rows{{bucket, folder}, {"spam", "ごみ箱"}}));
    EXPECT_EQ(shown, (Texts{bucket, folder, "-1", "-1", "checked"}));

    // Fields are read as 499 bytes at most, cut before the あ that would not fit whole.
    const std::string cutBucket = bucket.substr(0, 498);
    const std::string cutFolder = folder.substr(0, 498);
    EXPECT_EQ(after, (Rows{{cutBucket, cutFolder}, {"spam", "ごみ箱"}}));
    EXPECT_EQ(IniNow(), (Texts{"[Setup]", "CheckConnect=0", "[Action]", bucket + "=5,0,1",
                               cutBucket + "=5,0,1", "spam=0,0,0", "[MoveMail]",
                               cutBucket + "=" + cutFolder, "spam=ごみ箱", "[Mark]",
                               cutBucket + "=9"}));
}

TEST_F(RuleDialogsTest, HeaderRulesAreAddedMovedDeletedAndSavedOnTheirOwnOk)
{
    StartWith({"[Setup]", "CheckConnect=0", "[MoveMail]", "spam=ごみ箱", "[AdditionalHeader]",
               "1=spam:X-Spam-Flag:::YES", "2=work:Subject:::[work]", "3=spam:From:::a:b",
               "[Action]", "spam=0,0,0"});

    Rows rows, movedDown, afterNoMoves, afterAdd, afterDelete, afterEdit;
    int selectedAfterMove = -2;
    Texts headerNames, buckets, messages, editForm;
    std::string question;
    const SetupRun run = Setup([&](DialogDriver& user) {
        HWND sortList = user.waitForDialog(kSortListCaption, IDC_SORT_RULE_LIST);
        user.press(sortList, IDC_OPEN_HEADER_RULES);
        HWND list = user.waitForDialog(kHeaderListCaption, IDC_HEADER_RULE_LIST);
        rows = user.listRows(list, IDC_HEADER_RULE_LIST);

        user.selectListRow(list, IDC_HEADER_RULE_LIST, 1);
        user.press(list, IDC_HEADER_RULE_DOWN);
        movedDown = user.listRows(list, IDC_HEADER_RULE_LIST);
        selectedAfterMove = user.selectedListRow(list, IDC_HEADER_RULE_LIST);
        user.press(list, IDC_HEADER_RULE_DOWN);
        user.selectListRow(list, IDC_HEADER_RULE_LIST, 0);
        user.press(list, IDC_HEADER_RULE_UP);
        afterNoMoves = user.listRows(list, IDC_HEADER_RULE_LIST);

        user.press(list, IDC_HEADER_RULE_ADD);
        HWND edit = user.waitForDialog(kHeaderEditCaption, IDC_HEADER_RULE_SEARCH);
        headerNames = user.comboItems(edit, IDC_HEADER_RULE_HEADER);
        buckets = user.comboItems(edit, IDC_HEADER_RULE_BUCKET);
        user.press(edit, IDOK);
        messages.push_back(user.answerMessageBox("エラー", IDOK));
        user.selectComboItem(edit, IDC_HEADER_RULE_HEADER, 3);
        user.setText(edit, IDC_HEADER_RULE_SEARCH, ":YES");
        user.setText(edit, IDC_HEADER_RULE_BUCKET, "spam");
        user.press(edit, IDOK);
        messages.push_back(user.answerMessageBox("エラー", IDOK));
        user.setText(edit, IDC_HEADER_RULE_SEARCH, "YES");
        user.closeWith(edit, IDOK);
        afterAdd = user.listRows(list, IDC_HEADER_RULE_LIST);

        user.selectListRow(list, IDC_HEADER_RULE_LIST, 1);
        user.press(list, IDC_HEADER_RULE_DELETE);
        question = user.answerMessageBox("確認", IDYES);
        afterDelete = user.listRows(list, IDC_HEADER_RULE_LIST);

        user.doubleClickListRow(list, IDC_HEADER_RULE_LIST, 0);
        edit = user.waitForDialog(kHeaderEditCaption, IDC_HEADER_RULE_SEARCH);
        editForm = {user.text(edit, IDC_HEADER_RULE_HEADER), user.text(edit, IDC_HEADER_RULE_SEARCH),
                    user.text(edit, IDC_HEADER_RULE_BUCKET)};
        user.setText(edit, IDC_HEADER_RULE_BUCKET, "junk");
        user.closeWith(edit, IDOK);
        afterEdit = user.listRows(list, IDC_HEADER_RULE_LIST);
        user.closeWith(list, IDOK);

        // The header rules stay saved although the sorting rules are cancelled.
        user.closeWith(sortList, IDCANCEL);
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.result, 2);

    const Texts a = {"X-Spam-Flag:", "YES", "spam"};
    const Texts b = {"Subject:", "[work]", "work"};
    const Texts c = {"From:", "a:b", "spam"};
    EXPECT_EQ(rows, (Rows{a, b, c}));
    EXPECT_EQ(movedDown, (Rows{a, c, b}));
    EXPECT_EQ(selectedAfterMove, 2);
    EXPECT_EQ(afterNoMoves, movedDown);
    EXPECT_EQ(headerNames, (Texts{"From:", "To:", "Subject:", "X-Spam-Flag:", "X-Barracuda-Spam-Flag:"}));
    EXPECT_EQ(buckets, (Texts{"spam", "unclassified"}));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0],
              "ヘッダが入力されていません\n検索文字列が入力されていません\n分類が入力されていません");
    EXPECT_EQ(messages[1], "ヘッダまたは検索文字列がコロン(:)で始まっているため、保存できません");
    EXPECT_EQ(afterAdd, (Rows{a, c, b, a}));
    EXPECT_EQ(question, "From: a:b を削除してもよろしいですか？");
    EXPECT_EQ(afterDelete, (Rows{a, b, a}));
    EXPECT_EQ(editForm, a);
    EXPECT_EQ(afterEdit, (Rows{{"X-Spam-Flag:", "YES", "junk"}, b, a}));
    EXPECT_EQ(IniNow(), (Texts{"[Setup]", "CheckConnect=0", "[MoveMail]", "spam=ごみ箱", "[Action]",
                               "spam=0,0,0", "[AdditionalHeader]", "1=junk:X-Spam-Flag:::YES",
                               "2=work:Subject:::[work]", "3=spam:X-Spam-Flag:::YES"}));
}

TEST_F(RuleDialogsTest, HeaderRulesCancelCloseBoxEscapeAndUnchangedOkWriteNothing)
{
    StartWith({"[Setup]", "CheckConnect=0", "[AdditionalHeader]", "1=spam:X-Spam-Flag:::YES",
               "[MoveMail]", "spam=ごみ箱"});
    const Rows original = {{"X-Spam-Flag:", "YES", "spam"}};

    Rows afterMoves, afterEditCancels, afterAdd, afterDelete, reopened;
    bool unchangedFile = false;
    const SetupRun run = Setup([&](DialogDriver& user) {
        HWND sortList = user.waitForDialog(kSortListCaption, IDC_SORT_RULE_LIST);
        // One rule: the moves do nothing, so OK writes nothing.
        user.press(sortList, IDC_OPEN_HEADER_RULES);
        HWND list = user.waitForDialog(kHeaderListCaption, IDC_HEADER_RULE_LIST);
        user.selectListRow(list, IDC_HEADER_RULE_LIST, 0);
        user.press(list, IDC_HEADER_RULE_UP);
        user.press(list, IDC_HEADER_RULE_DOWN);
        afterMoves = user.listRows(list, IDC_HEADER_RULE_LIST);
        user.closeWith(list, IDOK);
        unchangedFile = pluginIniBytes() == iniBefore;

        // The edit dialog's Escape and close box add nothing; then the list's Cancel.
        user.press(sortList, IDC_OPEN_HEADER_RULES);
        list = user.waitForDialog(kHeaderListCaption, IDC_HEADER_RULE_LIST);
        for (bool escape : {true, false}) {
            user.press(list, IDC_HEADER_RULE_ADD);
            HWND edit = user.waitForDialog(kHeaderEditCaption, IDC_HEADER_RULE_SEARCH);
            user.setText(edit, IDC_HEADER_RULE_HEADER, "To:");
            user.setText(edit, IDC_HEADER_RULE_SEARCH, "me");
            user.setText(edit, IDC_HEADER_RULE_BUCKET, "work");
            escape ? user.pressKey(edit, VK_ESCAPE) : user.closeFromCaption(edit);
            user.waitUntilClosed(edit);
        }
        afterEditCancels = user.listRows(list, IDC_HEADER_RULE_LIST);
        user.press(list, IDC_HEADER_RULE_ADD);
        HWND edit = user.waitForDialog(kHeaderEditCaption, IDC_HEADER_RULE_SEARCH);
        user.setText(edit, IDC_HEADER_RULE_HEADER, "To");
        user.setText(edit, IDC_HEADER_RULE_SEARCH, "me");
        user.setText(edit, IDC_HEADER_RULE_BUCKET, "work");
        user.closeWith(edit, IDOK);
        afterAdd = user.listRows(list, IDC_HEADER_RULE_LIST);
        user.closeWith(list, IDCANCEL);

        user.press(sortList, IDC_OPEN_HEADER_RULES);
        list = user.waitForDialog(kHeaderListCaption, IDC_HEADER_RULE_LIST);
        user.selectListRow(list, IDC_HEADER_RULE_LIST, 0);
        user.press(list, IDC_HEADER_RULE_DELETE);
        user.answerMessageBox("確認", IDYES);
        afterDelete = user.listRows(list, IDC_HEADER_RULE_LIST);
        user.closeFromCaption(list);
        user.waitUntilClosed(list);

        user.press(sortList, IDC_OPEN_HEADER_RULES);
        list = user.waitForDialog(kHeaderListCaption, IDC_HEADER_RULE_LIST);
        reopened = user.listRows(list, IDC_HEADER_RULE_LIST);
        user.pressKey(list, VK_ESCAPE);
        user.waitUntilClosed(list);
        user.pressKey(sortList, VK_ESCAPE);
        user.waitUntilClosed(sortList);
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.result, 2);
    EXPECT_EQ(afterMoves, original);
    EXPECT_TRUE(unchangedFile);
    EXPECT_EQ(afterEditCancels, original);
    EXPECT_EQ(afterAdd, (Rows{original[0], {"To", "me", "work"}}));
    EXPECT_TRUE(afterDelete.empty());
    EXPECT_EQ(reopened, original);
    EXPECT_EQ(pluginIniBytes(), iniBefore);
}

}  // namespace
