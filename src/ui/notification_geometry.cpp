#include "ui/notification_geometry.h"

#include <algorithm>
#include <limits>

std::array<int32_t, 4> NotificationColumnWidths(int32_t clientWidth)
{
    const int64_t width = clientWidth;
    std::array<int32_t, 4> widths{};
    for (int32_t column = 0; column < 4; ++column) {
        widths[static_cast<std::size_t>(column)] = static_cast<int32_t>(width * (column + 1) / 10);
    }
    return widths;
}

int32_t NotificationWindowHeight(int32_t smallestHeight, int32_t lastRowBottom, int32_t windowTop,
                                 int32_t workAreaBottom)
{
    const int64_t wanted = static_cast<int64_t>(smallestHeight) + std::max(lastRowBottom, 0);
    const int64_t room = static_cast<int64_t>(workAreaBottom) - windowTop;
    const int64_t height = std::max<int64_t>(smallestHeight, std::min(wanted, room));
    return static_cast<int32_t>(std::min<int64_t>(height, std::numeric_limits<int32_t>::max()));
}
