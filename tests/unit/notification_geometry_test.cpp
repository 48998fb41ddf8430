#include "ui/notification_geometry.h"

#include <gtest/gtest.h>

namespace {

using Widths = std::array<int32_t, 4>;

TEST(NotificationGeometryTest, ColumnsTakeOneToFourTenthsTruncated)
{
    EXPECT_EQ(NotificationColumnWidths(400), (Widths{40, 80, 120, 160}));
    EXPECT_EQ(NotificationColumnWidths(395), (Widths{39, 79, 118, 158}));
    EXPECT_EQ(NotificationColumnWidths(7), (Widths{0, 1, 2, 2}));
    EXPECT_EQ(NotificationColumnWidths(0), (Widths{0, 0, 0, 0}));
    EXPECT_EQ(NotificationColumnWidths(2147483647),
              (Widths{214748364, 429496729, 644245094, 858993458}));
}

TEST(NotificationGeometryTest, HeightHoldsTheRowsUntilTheWorkAreaEnds)
{
    // smallest 38, rows down to 170, top 100, work area down to 740
    EXPECT_EQ(NotificationWindowHeight(38, 170, 100, 740), 208);
    EXPECT_EQ(NotificationWindowHeight(38, 0, 100, 740), 38);
    EXPECT_EQ(NotificationWindowHeight(38, 5000, 100, 740), 640) << "bottom kept at 740";
    EXPECT_EQ(NotificationWindowHeight(38, 5000, 730, 740), 38) << "never below the smallest";
    EXPECT_EQ(NotificationWindowHeight(38, 2147483647, -2147483647, 740), 2147483647);
}

}  // namespace
