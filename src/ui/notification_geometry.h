// The notification window's sizes, apart from the window system.
#pragma once

#include <array>
#include <cstdint>

// Widths of the four list columns for a client width: 1, 2, 3 and 4 tenths of it, each
// truncated toward zero.
std::array<int32_t, 4> NotificationColumnWidths(int32_t clientWidth);

// The window height that shows every row: the smallest height the system allows a
// captioned, sizable window plus the bottom of the last row in list coordinates; but the
// window's bottom stays inside the work area (the list scrolls instead), and the height
// never drops below the smallest one.
int32_t NotificationWindowHeight(int32_t smallestHeight, int32_t lastRowBottom, int32_t windowTop,
                                 int32_t workAreaBottom);
