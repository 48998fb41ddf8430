#include "ui/rule_editing.h"
#include "ui/working_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(BucketChoicesTest, ClassifierBucketsOrSpamThenAlwaysUnclassified)
{
    EXPECT_EQ(BucketChoices({}), (std::vector<std::string>{"spam", "unclassified"}));
    EXPECT_EQ(BucketChoices({"work", "spam", "unclassified"}),
              (std::vector<std::string>{"work", "spam", "unclassified", "unclassified"}));
}

TEST(FieldTextTest, KeepsAtMost499BytesAndNeverHalfACharacter)
{
    const std::string a = "\x82\xa0";   // あ
    const std::string so = "\x83\x5c";  // ソ: its second byte is a backslash
    EXPECT_EQ(FieldText(std::string(499, 'x')), std::string(499, 'x'));
    EXPECT_EQ(FieldText(std::string(511, 'x')), std::string(499, 'x'));

    std::string longText = "ab";
    for (int i = 0; i < 254; ++i) {
        longText += a;
    }
    longText += "c";  // 511 bytes; byte 499 would be the first half of an あ
    ASSERT_EQ(longText.size(), 511u);
    EXPECT_EQ(FieldText(longText), longText.substr(0, 498));

    EXPECT_EQ(FieldText(std::string(497, 'x') + so), std::string(497, 'x') + so);
    EXPECT_EQ(FieldText(std::string(498, 'x') + so), std::string(498, 'x'));
}

class WorkingListTest : public ::testing::Test {
protected:
    void SetUp() override { list.open({"a", "b", "c"}); }
    WorkingList<std::string> list;
};

TEST_F(WorkingListTest, MovesThatHaveNowhereToGoChangeNothing)
{
    EXPECT_EQ(list.move(0, -1), -1);  // up from the first row
    EXPECT_EQ(list.move(2, +1), -1);  // down from the last row
    EXPECT_EQ(list.move(-1, +1), -1); // no row selected
    EXPECT_EQ(list.move(3, -1), -1);
    list.open({"only"});
    EXPECT_EQ(list.move(0, -1), -1);
    EXPECT_EQ(list.move(0, +1), -1);
    EXPECT_FALSE(list.changed());
    EXPECT_EQ(list.rules(), (std::vector<std::string>{"only"}));
}

TEST_F(WorkingListTest, MovingTheSecondOfThreeDownMakesItTheThird)
{
    EXPECT_EQ(list.move(1, +1), 2);
    EXPECT_EQ(list.rules(), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_TRUE(list.changed());
    EXPECT_EQ(list.move(2, -1), 1);
    EXPECT_EQ(list.move(1, -1), 0);
    EXPECT_EQ(list.rules(), (std::vector<std::string>{"b", "a", "c"}));
}

TEST_F(WorkingListTest, EditsOfMissingRowsChangeNothingOthersSetTheFlag)
{
    EXPECT_FALSE(list.replace(-1, "x"));
    EXPECT_FALSE(list.replace(3, "x"));
    EXPECT_FALSE(list.erase(-1));
    EXPECT_FALSE(list.erase(3));
    EXPECT_FALSE(list.changed());

    EXPECT_TRUE(list.erase(0));
    EXPECT_EQ(list.rules(), (std::vector<std::string>{"b", "c"}));
    EXPECT_TRUE(list.replace(1, "z"));
    EXPECT_EQ(list.append("d"), 2);
    EXPECT_EQ(list.rules(), (std::vector<std::string>{"b", "z", "d"}));
    EXPECT_TRUE(list.changed());

    list.close();
    EXPECT_TRUE(list.rules().empty());
    EXPECT_FALSE(list.changed());
}

}  // namespace
