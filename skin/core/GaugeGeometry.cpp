#include <cstddef>

#include "skin/core/GaugeGeometry.h"

#include <cmath>
#include <iterator>
#include <numbers>

namespace skin {

float NeedleAngle(int temperatureCelsius) {
    return static_cast<float>((temperatureCelsius - 40) * 3.56 + 166.0);
}

IntPoint NeedlePivot(const IntRect& gauge, int needleWidth) {
    const int c = needleWidth / 2;
    return {gauge.left + 53 + c + c, gauge.top + 92};
}

std::array<IntPoint, 3> NeedlePoints(const IntRect& gauge, int needleWidth, int needleHeight,
                                     int temperatureCelsius) {
    // Same arithmetic as a GDI+ matrix: single-precision elements, rotation about (c, 0), then
    // the translation, each point rounded half up. The pivot is at the needle's whole half
    // width, as NeedlePivot has it.
    const int halfWidth = needleWidth / 2;
    const float c = static_cast<float>(halfWidth);
    const double radians =
        static_cast<double>(NeedleAngle(temperatureCelsius)) * std::numbers::pi / 180.0;
    const float cosine = static_cast<float>(std::cos(radians));
    const float sine = static_cast<float>(std::sin(radians));
    const float dx = static_cast<float>(gauge.left + 53) + c;
    const float dy = static_cast<float>(gauge.top + 92);
    const float corners[3][2] = {{0.0f, 0.0f},
                                 {static_cast<float>(needleWidth), 0.0f},
                                 {0.0f, static_cast<float>(needleHeight)}};
    std::array<IntPoint, 3> points{};
    static_assert(std::size(corners) == std::tuple_size_v<decltype(points)>);
    for (std::size_t i = 0; i < std::size(corners); ++i) {
        const float x = corners[i][0] - c;
        const float y = corners[i][1];
        const float rx = x * cosine - y * sine + c + dx;
        const float ry = x * sine + y * cosine + dy;
        points[i] = {static_cast<int>(std::floor(rx + 0.5f)),
                     static_cast<int>(std::floor(ry + 0.5f))};
    }
    return points;
}

}  // namespace skin
