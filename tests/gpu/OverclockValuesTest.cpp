// The overclocking page's arithmetic: units, slider ranges from the driver, and what a stored
// setting puts on a slider.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "gpu/core/OverclockValues.h"

using namespace overclock;

namespace {

ADLFanSpeedInfo FanInfo(int minimum, int maximum) {
    ADLFanSpeedInfo info{};
    info.iSize = sizeof(info);
    info.iMinPercent = minimum;
    info.iMaxPercent = maximum;
    return info;
}

TEST(OverclockUnits, DriverClocksTruncateToMHzAndMHzScaleBack) {
    EXPECT_EQ(MHzFromDriverClock(85099), 850);
    EXPECT_EQ(MHzFromDriverClock(85000), 850);
    EXPECT_EQ(MHzFromDriverClock(99), 0);
    EXPECT_EQ(MHzFromDriverClock(-150), -1);  // toward zero
    EXPECT_EQ(DriverClockFromMHz(850), 85000);
    // A round trip loses only what lies below one MHz.
    EXPECT_EQ(DriverClockFromMHz(MHzFromDriverClock(110099)), 110000);
}

TEST(OverclockUnits, HostileValuesSaturateInsteadOfOverflowing) {
    EXPECT_EQ(DriverClockFromMHz(INT_MAX), INT_MAX);
    EXPECT_EQ(DriverClockFromMHz(INT_MIN), INT_MIN);
    EXPECT_EQ(MHzFromDriverClock(INT_MIN), INT_MIN / 100);
}

TEST(OverclockFan, StoredPercentIsLimitedAndReadingsOutsideZeroToHundredAreNone) {
    EXPECT_EQ(ClampFanPercent(150), 100);
    EXPECT_EQ(ClampFanPercent(INT_MIN), 0);
    EXPECT_EQ(StoredFanOnSlider(-5, true), 0);
    EXPECT_EQ(StoredFanOnSlider(50, false), std::nullopt);
    EXPECT_EQ(FanPercentReading(100), 100);
    EXPECT_EQ(FanPercentReading(101), std::nullopt);
    EXPECT_EQ(FanPercentReading(-1), std::nullopt);
}

TEST(OverclockRanges, ClockRangesAreInMHzAndVoltageUnchanged) {
    const auto core = ClockSliderRange({50000, 110000, 500});
    ASSERT_TRUE(core);
    EXPECT_EQ(core->minimum, 500);
    EXPECT_EQ(core->maximum, 1100);
    const auto odd = ClockSliderRange({50050, 85099, 1});
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->minimum, 500);
    EXPECT_EQ(odd->maximum, 850);
    const auto vddc = VoltageSliderRange({900, 1300, 25});
    ASSERT_TRUE(vddc);
    EXPECT_EQ(vddc->minimum, 900);
    EXPECT_EQ(vddc->maximum, 1300);
}

TEST(OverclockRanges, InvertedRangesAreNoRange) {
    EXPECT_FALSE(ClockSliderRange({90000, 50000, 1}));
    EXPECT_FALSE(VoltageSliderRange({1300, 900, 1}));
    EXPECT_FALSE(FanSliderRange(FanInfo(80, 20)));
    // A single value is a range.
    EXPECT_TRUE(VoltageSliderRange({1100, 1100, 0}));
}

TEST(OverclockRanges, FanRangeIsTheDriversWithinZeroToHundred) {
    const auto plain = FanSliderRange(FanInfo(20, 100));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->minimum, 20);
    EXPECT_EQ(plain->maximum, 100);
    const auto wide = FanSliderRange(FanInfo(-40, 255));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->minimum, 0);
    EXPECT_EQ(wide->maximum, 100);
    EXPECT_FALSE(FanSliderRange(FanInfo(150, 200)));
}

TEST(OverclockStored, AClockNeedsARangeAndOneNeverSetTakesTheCurrentValue) {
    // On the slider as stored (which clamps a 900 into 500..850) when the driver gave a range.
    EXPECT_EQ(StoredClockOnSlider(900, true, 700), 900);
    EXPECT_EQ(StoredClockOnSlider(850, false, 700), std::nullopt);
    EXPECT_EQ(StoredClockOnSlider(0, true, 700), 700);
    EXPECT_EQ(StoredClockOnSlider(0, true, std::nullopt), std::nullopt);
    EXPECT_EQ(StoredClockOnSlider(0, false, 700), std::nullopt);
}

}  // namespace
