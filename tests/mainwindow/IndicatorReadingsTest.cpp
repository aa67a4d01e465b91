// The gauge's temperature from the driver's reading.
#include "mainwindow/core/IndicatorReadings.h"

#include <gtest/gtest.h>

namespace {

using indicator::GaugeTemperature;

TEST(GaugeTemperature, ShowsWholeDegreesWithinTheDial) {
    EXPECT_EQ(GaugeTemperature(65999u), 65);
    EXPECT_EQ(GaugeTemperature(99999u), 99);
    EXPECT_EQ(GaugeTemperature(100000u), 100);
    EXPECT_EQ(GaugeTemperature(35000u), 40);
    EXPECT_EQ(GaugeTemperature(0u), 40);
}

TEST(GaugeTemperature, AnOverheatingCardShowsTheNeedlesEndNeverACoolValue) {
    EXPECT_EQ(GaugeTemperature(100001u), 100);
    EXPECT_EQ(GaugeTemperature(101000u), 100);
    EXPECT_EQ(GaugeTemperature(120000u), 100);
    EXPECT_EQ(GaugeTemperature(150000u), 100);
}

TEST(GaugeTemperature, ReadingsThatCannotBeATemperatureShowTheLowestValue) {
    EXPECT_EQ(GaugeTemperature(150001u), 40);
    EXPECT_EQ(GaugeTemperature(static_cast<std::uint32_t>(-15000)), 40);  // negative
    EXPECT_EQ(GaugeTemperature(0xFFFFFFFFu), 40);
    EXPECT_EQ(GaugeTemperature(std::nullopt), 40);
}

}  // namespace
