// The ramp curve, the exponents of both pages, and the slider ranges the quality page accepts
// from the driver.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "display/core/GammaRampCurve.h"
#include "display/core/QualityRanges.h"
#include "gpu/core/ThreeDGamma.h"

namespace {

using display::GammaRampCurve;
using display::IsSafeGammaExponent;
using display::QualityGammaExponent;

TEST(GammaRampCurve, ExponentOneIsTheLinearRampFrom256) {
    const auto curve = GammaRampCurve(1.0);
    EXPECT_EQ(curve[0], 256);
    EXPECT_EQ(curve[1], 512);
    EXPECT_EQ(curve[127], 32768);
    EXPECT_EQ(curve[254], 65279);
    EXPECT_EQ(curve[255], 65535);
}

TEST(GammaRampCurve, ExponentsHalfAndTwoGiveTheirFigures) {
    const auto brighter = GammaRampCurve(0.5);
    EXPECT_EQ(brighter[0], 4096);
    EXPECT_EQ(brighter[63], 32768);
    EXPECT_EQ(brighter[255], 65535);
    const auto darker = GammaRampCurve(2.0);
    EXPECT_EQ(darker[0], 1);
    EXPECT_EQ(darker[127], 16384);
    EXPECT_EQ(darker[255], 65535);
}

TEST(GammaRampCurve, EveryExponentOfTheBandRisesMonotonouslyToFullScale) {
    constexpr double kStep = 0.05;
    const long steps = std::lround((display::kMaxSafeGamma - display::kMinSafeGamma) / kStep);
    for (long step = 0; step <= steps; ++step) {
        const double gamma = display::kMinSafeGamma + kStep * static_cast<double>(step);
        const auto curve = GammaRampCurve(gamma);
        for (size_t i = 1; i < curve.size(); ++i) {
            ASSERT_GE(curve[i], curve[i - 1]) << "gamma " << gamma << " at " << i;
        }
        EXPECT_EQ(curve[255], 65535) << gamma;
        EXPECT_GT(curve[0], 0) << gamma;
    }
}

TEST(GammaRampCurve, HostileExponentsStayInsideTheEntryRange) {
    // Zero and below would wash the screen out: every entry full scale.
    for (double gamma : {0.0, -1.0, -1e300}) {
        for (auto entry : GammaRampCurve(gamma)) {
            ASSERT_EQ(entry, 65535) << gamma;
        }
    }
    // Huge exponents and NaN convert without overflow (UBSan checks the conversions).
    EXPECT_EQ(GammaRampCurve(1e300)[0], 0);
    EXPECT_EQ(GammaRampCurve(std::numeric_limits<double>::quiet_NaN())[0], 0);
}

TEST(SafeGammaBand, HoldsEveryExponentThePagesProduceAndNothingThatBlanksTheScreen) {
    // The quality page: ten steps either side of the reference, less the one that reaches 0.
    for (int steps = -10; steps <= 9; ++steps) {
        EXPECT_TRUE(IsSafeGammaExponent(QualityGammaExponent(10 + steps, 10))) << steps;
    }
    EXPECT_FALSE(IsSafeGammaExponent(QualityGammaExponent(20, 10)));  // exponent 0: white
    EXPECT_FALSE(IsSafeGammaExponent(QualityGammaExponent(-1, 10)));  // 2.1
    EXPECT_FALSE(IsSafeGammaExponent(-0.5));
    EXPECT_FALSE(IsSafeGammaExponent(0.05));
    EXPECT_FALSE(IsSafeGammaExponent(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(IsSafeGammaExponent(std::numeric_limits<double>::infinity()));
}

TEST(QualityGammaExponent, FollowsTheSliderInTenthsAroundTheReference) {
    EXPECT_DOUBLE_EQ(QualityGammaExponent(10, 10), 1.0);
    EXPECT_DOUBLE_EQ(QualityGammaExponent(15, 10), 0.5);
    EXPECT_DOUBLE_EQ(QualityGammaExponent(5, 10), 1.5);
    EXPECT_DOUBLE_EQ(QualityGammaExponent(0, 10), 2.0);
    // No overflow for hostile values.
    EXPECT_DOUBLE_EQ(QualityGammaExponent(INT_MAX, INT_MIN), 1.0 - 4294967295.0 * 0.1);
}

TEST(ThreeDGammaExponent, RowOneShiftsTheStartAndEachOtherRowTakesAStep) {
    using Rows = std::array<bool, gpu::kThreeDRowCount>;
    EXPECT_DOUBLE_EQ(gpu::ThreeDGammaExponent(Rows{}), 1.1);
    EXPECT_DOUBLE_EQ(gpu::ThreeDGammaExponent(Rows{true}), 1.05);
    EXPECT_NEAR(gpu::ThreeDGammaExponent(Rows{false, true, true, true, true, true}), 0.85, 1e-12);
    EXPECT_NEAR(gpu::ThreeDGammaExponent(Rows{true, true, true, true, true, true}), 0.8, 1e-12);
    // Rows 2 to 6 weigh the same.
    for (size_t row = 1; row < gpu::kThreeDRowCount; ++row) {
        Rows rows{};
        rows[row] = true;
        EXPECT_NEAR(gpu::ThreeDGammaExponent(rows), 1.05, 1e-12) << row;
    }
    // Every combination lies inside the ramp writer's band.
    for (unsigned mask = 0; mask < 64; ++mask) {
        Rows rows{};
        for (size_t row = 0; row < rows.size(); ++row) {
            rows[row] = (mask >> row) & 1;
        }
        EXPECT_TRUE(IsSafeGammaExponent(gpu::ThreeDGammaExponent(rows))) << mask;
    }
}

TEST(GammaScaleFromDriver, ShiftsTheDriversWordsByOne) {
    const auto scale = display::GammaScaleFromDriver(9, 4, 14, 1);
    ASSERT_TRUE(scale);
    EXPECT_EQ(scale->range.minimum, 5);
    EXPECT_EQ(scale->range.maximum, 15);
    EXPECT_EQ(scale->range.step, 1);
    EXPECT_EQ(scale->reference, 10);
}

TEST(GammaScaleFromDriver, RefusesWordsThatMakeNoRange) {
    EXPECT_FALSE(display::GammaScaleFromDriver(9, 14, 4, 1));   // minimum above maximum
    EXPECT_FALSE(display::GammaScaleFromDriver(4, 4, 4, 1));    // empty
    EXPECT_FALSE(display::GammaScaleFromDriver(9, 4, 14, 0));   // no step
    EXPECT_FALSE(display::GammaScaleFromDriver(9, 4, 14, 11));  // step wider than the range
    EXPECT_FALSE(display::GammaScaleFromDriver(20, 4, 14, 1));  // reference outside
    EXPECT_FALSE(display::GammaScaleFromDriver(INT_MAX, 0, INT_MAX, 1));
    EXPECT_FALSE(display::GammaScaleFromDriver(0, INT_MIN, 0, 1));
}

TEST(FallbackGammaScale, KeepsTheInstalledPresetsAndEveryPositionInsideTheBand) {
    const display::GammaScale scale = display::kFallbackGammaScale;
    for (int camma : {10, 11, 12}) {  // the installed presets
        EXPECT_GE(camma, scale.range.minimum);
        EXPECT_LE(camma, scale.range.maximum);
    }
    for (int value = scale.range.minimum; value <= scale.range.maximum; ++value) {
        const double gamma = QualityGammaExponent(value, scale.reference);
        EXPECT_GT(gamma, 0.0);
        EXPECT_TRUE(IsSafeGammaExponent(gamma)) << value;
    }
}

TEST(ColorSliderRange, ShiftsBrightnessAndRefusesUnusableRanges) {
    const auto brightness = display::ColorSliderRange(-100, 100, 1, display::kBrightnessOffset);
    ASSERT_TRUE(brightness);
    EXPECT_EQ(brightness->minimum, 0);
    EXPECT_EQ(brightness->maximum, 200);
    const auto contrast = display::ColorSliderRange(0, 200, 5, 0);
    ASSERT_TRUE(contrast);
    EXPECT_EQ(contrast->step, 5);
    EXPECT_FALSE(display::ColorSliderRange(100, -100, 1, 100));
    EXPECT_FALSE(display::ColorSliderRange(0, 200, -1, 0));
    EXPECT_FALSE(display::ColorSliderRange(INT_MAX - 50, INT_MAX, 1, 100));
    EXPECT_EQ(display::ShiftedValue(INT_MAX, 100), INT_MAX);
    EXPECT_EQ(display::ShiftedValue(INT_MIN, -100), INT_MIN);
    EXPECT_EQ(display::ShiftedValue(0, 100), 100);
}

TEST(PresetValueToStore, OnlyARangeOfOurOwnHoldsTheStoredValueUntilTheUserMovesTheSlider) {
    // Light 100 loaded onto the constructed 0..29 slider shows 29.
    const display::LoadedValue clamped{100, 29};
    EXPECT_EQ(display::PresetValueToStore(false, clamped, 29), 100);
    EXPECT_EQ(display::PresetValueToStore(false, clamped, 28), 28);
    // The driver's own range: what the slider shows is the value.
    EXPECT_EQ(display::PresetValueToStore(true, clamped, 29), 29);
}

}  // namespace
