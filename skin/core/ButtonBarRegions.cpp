#include <cstddef>

#include "skin/core/ButtonBarRegions.h"

namespace skin {
namespace {

constexpr std::array<std::array<IntPoint, 4>, kBarRegionCount> kCorners = {{
    {{{3, 22}, {17, 8}, {47, 31}, {35, 47}}},
    {{{42, 47}, {50, 33}, {84, 45}, {78, 61}}},
    {{{84, 62}, {89, 46}, {120, 49}, {117, 67}}},
    {{{126, 67}, {126, 49}, {158, 44}, {161, 60}}},
    {{{165, 57}, {160, 40}, {189, 28}, {199, 42}}},
}};

}  // namespace

const std::array<IntPoint, 4>& BarRegionCorners(int region) {
    if (region < 1 || region > kBarRegionCount) {
        region = 1;
    }
    return kCorners[static_cast<std::size_t>(region - 1)];
}

}  // namespace skin
