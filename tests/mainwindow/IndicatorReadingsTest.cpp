// The gauge's temperature from the driver's reading.
#include "mainwindow/core/IndicatorReadings.h"

#include <gtest/gtest.h>

namespace {

using indicator::GaugeTemperature;
using indicator::TrayTip;

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

TEST(TrayTip, ShowsTheReadingsThatCanBeTrueAndNothingElse) {
    EXPECT_EQ(TrayTip(62400u, 850), L"Velmora 62℃ 850MHz");
    // An overheating card shows its reading, not the gauge's end.
    EXPECT_EQ(TrayTip(120000u, 900), L"Velmora 120℃ 900MHz");
    EXPECT_EQ(TrayTip(std::nullopt, 850), L"Velmora 850MHz");
    EXPECT_EQ(TrayTip(55000u, std::nullopt), L"Velmora 55℃");
    EXPECT_EQ(TrayTip(std::nullopt, std::nullopt), L"Velmora");
    // Readings that cannot be a temperature or a clock.
    EXPECT_EQ(TrayTip(150001u, 0), L"Velmora");
    EXPECT_EQ(TrayTip(static_cast<std::uint32_t>(-15000), -5), L"Velmora");
    EXPECT_EQ(TrayTip(0u, std::nullopt), L"Velmora");
    EXPECT_LE(TrayTip(150000u, INT32_MAX).size(), 127u);
}

}  // namespace
