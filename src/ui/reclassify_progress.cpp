#include "ui/reclassify_progress.h"

#include <cstdio>

namespace {
constexpr std::size_t kCounterBufferSize = 100;
}  // namespace

std::string ProgressCounterText(int n, int count)
{
    char text[kCounterBufferSize];
    std::snprintf(text, sizeof text, "POPFile訂正(%d/%d)", n, count);
    return text;
}
