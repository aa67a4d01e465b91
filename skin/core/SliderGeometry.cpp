#include <cstddef>

#include "skin/core/SliderGeometry.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace skin {

int SliderPosition(int value, int minimum, int maximum, int trackSteps) {
    if (maximum <= minimum) {
        return 0;
    }
    const double scaled = (static_cast<double>(value) - minimum) * trackSteps * 100.0 /
                          (static_cast<double>(maximum) - minimum);
    // Hostile ranges must not overflow the integer conversion.
    constexpr double kLimit = static_cast<double>(std::numeric_limits<int>::max());
    const double bounded = std::fmax(-kLimit, std::fmin(kLimit, std::trunc(scaled)));
    const int d = static_cast<int>(bounded);
    return d / 100 + (d % 100) / 50;
}

SliderButtons SliderButtonLayout(int trackWidth, int minusWidth, int minusHeight, int plusWidth,
                                 int plusHeight) {
    SliderButtons buttons;
    buttons.minus = {0, 5, minusWidth, 5 + minusHeight};
    buttons.plus = {trackWidth + minusWidth, 2, trackWidth + minusWidth + plusWidth,
                    2 + plusHeight};
    return buttons;
}

IntRect SliderTrackArea(int trackWidth, int minusWidth, int trackImageHeight) {
    return {minusWidth + 2, 3, trackWidth + minusWidth - 3, trackImageHeight - 6};
}

int SliderTrackSegment(int x, int minusWidth) {
    return (x - minusWidth - 2) / kTrackPixelsPerPosition + 1;
}

std::optional<int> SliderValueForSegment(int segment, int minimum, int maximum, int step,
                                         int trackSteps) {
    if (segment <= 0 || maximum <= minimum) {
        return std::nullopt;
    }
    if (step <= 0) {
        if (SliderPosition(maximum, minimum, maximum, trackSteps) == segment) {
            return maximum;
        }
        return std::nullopt;
    }
    // Positions never fall as the value rises, so the first grid value from the top whose
    // position is the segment is found by bisecting the grid index k (f = maximum - k * step)
    // for the smallest k whose position is not above the segment.
    const std::int64_t last = (static_cast<std::int64_t>(maximum) - minimum) / step;
    auto gridValue = [&](std::int64_t k) { return static_cast<int>(maximum - k * step); };
    std::int64_t low = 0;
    std::int64_t high = last + 1;
    while (low < high) {
        const std::int64_t mid = low + (high - low) / 2;
        if (SliderPosition(gridValue(mid), minimum, maximum, trackSteps) <= segment) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    if (low <= last && SliderPosition(gridValue(low), minimum, maximum, trackSteps) == segment) {
        return gridValue(low);
    }
    return std::nullopt;
}

std::array<int, 4> SliderBoxDigits(int value) {
    std::int64_t magnitude = value;
    if (magnitude < 0) {
        magnitude = -magnitude;
    }
    int shown = static_cast<int>(magnitude % 10000);
    std::array<int, 4> digits{};
    for (int k = 3; k >= 0; --k) {
        digits[static_cast<std::size_t>(k)] = shown % 10;
        shown /= 10;
    }
    return digits;
}

}  // namespace skin
