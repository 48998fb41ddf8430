#include "mail/iso2022jp.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// JIS X 0208 codes written out by hand: こ 2433, ん 2473, に 244B, ち 2441, は 244F.
const std::string kKonnichiwa = "\x1B$B$3$s$K$A$O\x1B(B";

TEST(Iso2022JpTest, HiraganaBecomesShiftJis) {
    EXPECT_EQ(Iso2022JpToShiftJis(kKonnichiwa), "こんにちは");
    EXPECT_EQ(Iso2022JpToShiftJis("Re: " + kKonnichiwa + " ok"), "Re: こんにちは ok");
}

TEST(Iso2022JpTest, OddEvenAndHighRowsAllMap) {
    // 漢 3441 (even row), 字 3B7A (odd row, cell above 0x5F), 燹 6021 and 陞 6F7E (rows
    // past 0x5E, lead bytes from 0xE0), 、 2122 and 。 2123, ソ 253D (trail byte 0x5C).
    EXPECT_EQ(Iso2022JpToShiftJis("\x1B$B4A;z`!o~!\"!#%=\x1B(B"), "漢字燹陞、。ソ");
    // ESC $ @ (the 1978 set) reads the same way.
    EXPECT_EQ(Iso2022JpToShiftJis("\x1B$@4A\x1B(J!"), "漢!");
}

TEST(Iso2022JpTest, HalfWidthKatakanaByEscapeAndByShiftOut) {
    EXPECT_EQ(Iso2022JpToShiftJis("\x1B(I6@6E\x1B(Bx"), "ｶﾀｶﾅx");
    EXPECT_EQ(Iso2022JpToShiftJis("a\x0E" "6@\x0F" "b"), "aｶﾀb");
    EXPECT_EQ(Iso2022JpToShiftJis("\xB6\xC0"), "ｶﾀ");
}

TEST(Iso2022JpTest, ControlBytesPassAndBrokenInputIsDropped) {
    EXPECT_EQ(Iso2022JpToShiftJis("\x1B$B$3\r\n$s\x1B(B"), "こ\r\nん");
    EXPECT_EQ(Iso2022JpToShiftJis("\x1B$B$3$"), "こ");          // pair cut off
    EXPECT_EQ(Iso2022JpToShiftJis("ab\x1B$"), "ab");            // escape cut off
    EXPECT_EQ(Iso2022JpToShiftJis("a\x1BZb"), "aZb");           // unknown escape
    EXPECT_EQ(Iso2022JpToShiftJis("a\x82\xFF" "b"), "ab");      // no form of their own
}

TEST(Iso2022JpTest, EveryCutOfTheInputGivesAPrefixOfTheWhole) {
    const std::string text = "x" + kKonnichiwa + "\x1B(I6@\x1B$B4A;z\x1B(B";
    const std::string whole = Iso2022JpToShiftJis(text);
    for (size_t length = 0; length <= text.size(); ++length) {
        const std::vector<char> exact(text.begin(), text.begin() + length);
        const std::string part = Iso2022JpToShiftJis({exact.data(), exact.size()});
        EXPECT_EQ(whole.compare(0, part.size(), part), 0) << "cut to " << length;
    }
}

}  // namespace
