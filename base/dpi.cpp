#include "base/dpi.h"

#include <cstdint>
#include <cstdlib>

namespace vantrel {

int MulDivRounded(int value, int numerator, int denominator) {
    std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    std::int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

int FontHeightForPoints(int points, int dpi) { return -MulDivRounded(points, dpi, 72); }

int NearestImageScale(int dpi) {
    // Compared in percent times 96, so that no rounding decides a tie.
    const int wanted = dpi * 100;
    int best = kImageScales[0];
    for (int scale : kImageScales)
        if (std::abs(scale * kDefaultDpi - wanted) < std::abs(best * kDefaultDpi - wanted)) best = scale;
    return best;
}

}  // namespace vantrel
