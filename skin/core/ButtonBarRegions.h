// The button bar's five tilted buttons, and the hit test of the navigation cross's regions.
#pragma once

#include <array>
#include <cstddef>

#include "skin/core/NavigationCode.h"
#include "skin/core/SkinGeometry.h"

namespace skin {

// Corners of bar region 1..5 (client coordinates), in polygon order.
const std::array<IntPoint, 4>& BarRegionCorners(int region);

// Number (1-based) of the first rectangle containing the point, 0 when none does; overlapping
// rectangles resolve to the lower number.
template <std::size_t N>
int FirstRegionAt(const std::array<IntRect, N>& regions, int x, int y) {
    for (std::size_t i = 0; i < N; ++i) {
        if (regions[i].contains(x, y)) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

}  // namespace skin
