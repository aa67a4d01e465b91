// The temperature gauge drawn into a real surface.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "gpu/NoUITemprature.h"
#include "skin/AppMessages.h"
#include "skin/core/GaugeGeometry.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/HostWindow.h"

namespace {

using skintest::Opaque;

constexpr DWORD kDial = 0x202020;
constexpr DWORD kNeedle = 0x20C0F0;

class GaugeTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.Create(nullptr));
        gauge.surface = &surface;
        gauge.rect = {140, 75, 300, 250};
        gauge.owner = host.hwnd();
        gauge.needleImage = needle.get();
        gauge.background = dial.get();
    }
    // Pixels in a box whose colour passes a test (alpha ignored: text may carry none).
    template <typename Test>
    int CountPixels(int left, int top, int right, int bottom, Test test) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const DWORD p = surface.Pixel(x, y);
                count += test((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) ? 1 : 0;
            }
        }
        return count;
    }
    // Point at a distance along the needle from its pivot (215, 167).
    POINT Along(double distance) const {
        const double a = skin::NeedleAngle(gauge.temperature) * std::numbers::pi / 180.0;
        return {static_cast<LONG>(std::lround(215 - distance * std::sin(a))),
                static_cast<LONG>(std::lround(167 + distance * std::cos(a)))};
    }

    testkit::HostWindow host;
    SkinSurface surface;
    NoUITemprature gauge;
    std::unique_ptr<Gdiplus::Bitmap> dial = skintest::SolidImage(800, 328, kDial);
    std::unique_ptr<Gdiplus::Bitmap> needle = skintest::SolidImage(23, 80, kNeedle);
};

TEST_F(GaugeTest, DrawsNothingBeforeFullDisplay) {
    gauge.temperature = 70;
    gauge.Redraw();
    EXPECT_EQ(CountPixels(140, 75, 300, 250, [](int r, int g, int b) { return r + g + b > 0; }), 0);
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 0);
}

TEST_F(GaugeTest, ReadoutShowsTheDialAndBothTexts) {
    gauge.needleImage = nullptr;
    gauge.fullDisplay = true;
    gauge.temperature = 70;
    gauge.clockMHz = 850;
    gauge.Redraw();
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);
    EXPECT_EQ(surface.Pixel(145, 80), Opaque(kDial));
    EXPECT_EQ(surface.Pixel(299, 249), Opaque(kDial));
    EXPECT_EQ(surface.Pixel(300, 249), 0u);
    // Red temperature from (192, 155), white clock text from (174, 207).
    const auto red = [](int r, int g, int b) { return r > 180 && g < 90 && b < 90; };
    const auto white = [](int r, int g, int b) { return r > 180 && g > 180 && b > 180; };
    EXPECT_GT(CountPixels(190, 153, 260, 185, red), 20);
    EXPECT_GT(CountPixels(172, 205, 280, 225, white), 20);
    EXPECT_EQ(CountPixels(140, 75, 300, 150, red), 0);
}

TEST_F(GaugeTest, NeedleLiesAlongTheAngleOfTheTemperature) {
    gauge.background = nullptr;
    gauge.fullDisplay = true;
    for (int temperature : {40, 70, 100}) {
        surface.Fill({0, 0, 800, 328}, 0);
        gauge.temperature = temperature;
        gauge.Redraw();
        for (int d = 10; d <= 70; d += 10) {
            const POINT p = Along(d);
            EXPECT_EQ(surface.Pixel(p.x, p.y), Opaque(kNeedle)) << temperature << "/" << d;
        }
        const POINT behind = Along(-30);
        EXPECT_EQ(surface.Pixel(behind.x, behind.y), 0u) << temperature;
        const POINT beyond = Along(95);
        EXPECT_EQ(surface.Pixel(beyond.x, beyond.y), 0u) << temperature;
    }
}

TEST(GaugeGeometryMatchesGdiplus, NeedlePointsEqualTheMatrixTransform) {
    const skin::IntRect gauge{140, 75, 300, 250};
    for (int temperature = 40; temperature <= 100; temperature += 5) {
        Gdiplus::Matrix matrix(1, 0, 0, 1, 140 + 53 + 11, 75 + 92);
        matrix.Translate(11, 0, Gdiplus::MatrixOrderPrepend);
        matrix.Rotate(skin::NeedleAngle(temperature), Gdiplus::MatrixOrderPrepend);
        matrix.Translate(-11, 0, Gdiplus::MatrixOrderPrepend);
        Gdiplus::Point points[3] = {{0, 0}, {23, 0}, {0, 80}};
        ASSERT_EQ(matrix.TransformPoints(points, 3), Gdiplus::Ok);
        const auto ours = skin::NeedlePoints(gauge, 23, 80, temperature);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(ours[i].x, points[i].X) << temperature << " corner " << i;
            EXPECT_EQ(ours[i].y, points[i].Y) << temperature << " corner " << i;
        }
    }
}

}  // namespace
