// Pure geometry of the skinned controls: slider arithmetic, button faces, list layout, bar
// regions and the gauge needle.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cwchar>

#include "skin/core/ButtonBarRegions.h"
#include "skin/core/ButtonFace.h"
#include "skin/core/GaugeGeometry.h"
#include "skin/core/ItemListLayout.h"
#include "skin/core/SliderGeometry.h"

namespace {

using skin::SliderPosition;
using skin::SliderValueForSegment;

TEST(SliderPositionTest, FullRangeOfTwentyNineStepsMapsValueToItself) {
    for (int v = 0; v <= 29; ++v) {
        EXPECT_EQ(SliderPosition(v, 0, 29, 29), v) << v;
    }
}

TEST(SliderPositionTest, ScalesIntoTheTrackAndRoundsHalvesUp) {
    EXPECT_EQ(SliderPosition(750, 300, 1200, 29), 15);  // 14.5 rounds up
    EXPECT_EQ(SliderPosition(767, 500, 1000, 29), 15);  // 15.486
    EXPECT_EQ(SliderPosition(768, 500, 1000, 29), 16);  // 15.544
    // 28.49 and 28.50 of 29 on a range of 10000.
    EXPECT_EQ(SliderPosition(9824, 0, 10000, 29), 28);
    EXPECT_EQ(SliderPosition(9828, 0, 10000, 29), 29);
}

TEST(SliderPositionTest, ValuesBelowTheRangeGiveNegativePositions) {
    EXPECT_LT(SliderPosition(-100, 0, 29, 29), 0);
}

TEST(SliderPositionTest, EmptyOrInvertedRangeHasPositionZero) {
    EXPECT_EQ(SliderPosition(5, 10, 10, 29), 0);
    EXPECT_EQ(SliderPosition(5, 20, 10, 29), 0);
}

TEST(SliderPositionTest, HostileRangesDoNotOverflow) {
    EXPECT_EQ(SliderPosition(INT_MAX, INT_MIN, INT_MAX, 29), 29);
    EXPECT_EQ(SliderPosition(INT_MIN, INT_MIN, INT_MAX, 29), 0);
    // Far outside a tiny range: the scaled value saturates instead of wrapping.
    EXPECT_GT(SliderPosition(INT_MAX, 0, 1, 29), 0);
    EXPECT_LT(SliderPosition(INT_MIN, 0, 1, 29), 0);
}

TEST(SliderLayoutTest, ButtonsAndTrackAreaFromTheShippedImageSizes) {
    const auto full = skin::SliderButtonLayout(skin::kFullTrackWidth, 18, 10, 18, 17);
    EXPECT_EQ(full.minus, (skin::IntRect{0, 5, 18, 15}));
    EXPECT_EQ(full.plus, (skin::IntRect{196, 2, 214, 19}));
    const auto compact = skin::SliderButtonLayout(skin::kCompactTrackWidth, 18, 10, 18, 17);
    EXPECT_EQ(compact.plus, (skin::IntRect{141, 2, 159, 19}));
    EXPECT_EQ(skin::SliderTrackArea(skin::kFullTrackWidth, 18, 23),
              (skin::IntRect{20, 3, 193, 17}));
    EXPECT_EQ(skin::SliderFillWidth(29, skin::kFullTrackWidth), skin::kFullTrackWidth);
    EXPECT_EQ(skin::SliderFillWidth(0, skin::kFullTrackWidth), 4);
}

TEST(SliderTrackClickTest, SegmentsOfTheFullTrack) {
    EXPECT_EQ(skin::SliderTrackSegment(20, 18), 1);
    EXPECT_EQ(skin::SliderTrackSegment(25, 18), 1);
    EXPECT_EQ(skin::SliderTrackSegment(26, 18), 2);
    EXPECT_EQ(skin::SliderTrackSegment(188, 18), 29);
    EXPECT_EQ(skin::SliderTrackSegment(192, 18), 29);
}

TEST(SliderTrackClickTest, ChoosesTheLargestGridValueInTheSegment) {
    EXPECT_EQ(SliderValueForSegment(29, 0, 29, 1, 29), 29);
    EXPECT_EQ(SliderValueForSegment(1, 0, 29, 1, 29), 1);
    EXPECT_EQ(SliderValueForSegment(15, 500, 1000, 1, 29), 767);
    // The grid is anchored at the maximum: 1000, 990, ... 770 is the top of segment 15.
    EXPECT_EQ(SliderValueForSegment(15, 500, 1000, 10, 29), 760);
    EXPECT_EQ(SliderValueForSegment(29, 500, 1000, 10, 29), 1000);
}

TEST(SliderTrackClickTest, MatchesAnExhaustiveSearchFromTheTop) {
    const int ranges[][3] = {{0, 29, 1}, {500, 1000, 1}, {300, 1200, 7}, {0, 10, 1}, {-50, 50, 3}};
    for (const auto& r : ranges) {
        for (int segment = 1; segment <= 29; ++segment) {
            std::optional<int> expected;
            for (int f = r[1]; f >= r[0]; f -= r[2]) {
                if (SliderPosition(f, r[0], r[1], 29) == segment) {
                    expected = f;
                    break;
                }
            }
            EXPECT_EQ(SliderValueForSegment(segment, r[0], r[1], r[2], 29), expected)
                << r[0] << ".." << r[1] << " step " << r[2] << " segment " << segment;
        }
    }
}

TEST(SliderTrackClickTest, NothingForSegmentsWithoutValuesOrBadRanges) {
    // A range of 10 on 29 positions leaves most segments empty.
    EXPECT_FALSE(SliderValueForSegment(1, 0, 10, 1, 29));
    EXPECT_FALSE(SliderValueForSegment(0, 0, 29, 1, 29));
    EXPECT_FALSE(SliderValueForSegment(5, 10, 10, 1, 29));
    EXPECT_FALSE(SliderValueForSegment(5, 20, 10, 1, 29));
    EXPECT_EQ(SliderValueForSegment(29, 0, 29, 0, 29), 29);
    EXPECT_FALSE(SliderValueForSegment(28, 0, 29, 0, 29));
    EXPECT_EQ(SliderValueForSegment(29, INT_MIN, INT_MAX, 1, 29), INT_MAX);
    EXPECT_TRUE(SliderValueForSegment(1, INT_MIN, INT_MAX, 1, 29));
}

TEST(SliderBoxTest, ShowsTheLastFourDigitsWithLeadingZeros) {
    EXPECT_EQ(skin::SliderBoxDigits(850), (std::array<int, 4>{0, 8, 5, 0}));
    EXPECT_EQ(skin::SliderBoxDigits(12345), (std::array<int, 4>{2, 3, 4, 5}));
    EXPECT_EQ(skin::SliderBoxDigits(-7), (std::array<int, 4>{0, 0, 0, 7}));
    EXPECT_EQ(skin::SliderBoxDigits(INT_MIN), (std::array<int, 4>{3, 6, 4, 8}));
    EXPECT_EQ(skin::SliderDigitSourceX(9), 64);
}

TEST(ButtonFaceTest, FirstMatchingStateWins) {
    using skin::ButtonFace;
    using skin::ChooseButtonFace;
    EXPECT_EQ(ChooseButtonFace({}, true), ButtonFace::Normal);
    EXPECT_EQ(ChooseButtonFace({.hover = true}, true), ButtonFace::Hover);
    EXPECT_EQ(ChooseButtonFace({.pressed = true, .hover = true}, true), ButtonFace::Pressed);
    // Without a pressed image a press shows hover while over the button, else normal.
    EXPECT_EQ(ChooseButtonFace({.pressed = true, .hover = true}, false), ButtonFace::Hover);
    EXPECT_EQ(ChooseButtonFace({.pressed = true}, false), ButtonFace::Normal);
    EXPECT_EQ(ChooseButtonFace({.toggled = true, .pressed = true, .hover = true}, true),
              ButtonFace::Toggled);
    EXPECT_EQ(ChooseButtonFace({.animated = true, .toggled = true}, true), ButtonFace::Hover);
}

TEST(ItemListLayoutTest, HardwarePageStacksEightItems) {
    const skin::IntRect frame{384, 80, 485, 270};
    const auto layout = skin::ListLayoutForPage(4);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->itemCount, 8);
    EXPECT_EQ(layout->labelRow, 3);
    const auto items = skin::LayOutListItems(frame, *layout, 98, 17);
    const int tops[] = {15, 37, 59, 81, 103, 125, 147, 169};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(items[i], (skin::IntRect{384, 80 + tops[i], 482, 80 + tops[i] + 17})) << i;
    }
}

TEST(ItemListLayoutTest, EveryPageTypeHasItsCountRowAndSpacing) {
    const int expected[][4] = {{4, 0, 33, 13}, {3, 1, 30, 10}, {3, 2, 30, 15}, {8, 3, 15, 5},
                               {4, 4, 30, 10}, {4, 5, 30, 10}, {6, 6, 30, 5}};
    for (int type = 1; type <= 7; ++type) {
        const auto layout = skin::ListLayoutForPage(type);
        ASSERT_TRUE(layout) << type;
        const auto& e = expected[type - 1];
        EXPECT_EQ(layout->itemCount, e[0]);
        EXPECT_EQ(layout->labelRow, e[1]);
        EXPECT_EQ(layout->firstTop, e[2]);
        EXPECT_EQ(layout->gap, e[3]);
    }
    EXPECT_FALSE(skin::ListLayoutForPage(0));
    EXPECT_FALSE(skin::ListLayoutForPage(8));
}

TEST(ItemListLayoutTest, LabelSlotsHoldNormalThenDownThenHoverFaces) {
    EXPECT_STREQ(skin::ListLabelName(0, 2), L"MEM频率");
    EXPECT_STREQ(skin::ListLabelName(0, skin::ListLabelSlot(skin::LabelFace::Hover, 4, 3)),
                 L"风扇转速M");
    EXPECT_STREQ(skin::ListLabelName(2, skin::ListLabelSlot(skin::LabelFace::Down, 3, 0)),
                 L"3D_办公模式_D");
    EXPECT_STREQ(skin::ListLabelName(3, 23), L"驱动程序版本M");
    EXPECT_STREQ(skin::ListLabelName(6, 17), L"Mipmap详细度M");
    EXPECT_EQ(skin::ListLabelName(6, 18), nullptr);
    EXPECT_EQ(skin::ListLabelName(7, 0), nullptr);
    EXPECT_EQ(skin::ListLabelName(-1, 0), nullptr);
    // Used slots per row: three faces of each item, nothing after them.
    const int counts[] = {4, 3, 3, 8, 4, 4, 6};
    for (int row = 0; row < skin::kLabelRows; ++row) {
        for (int slot = 0; slot < skin::kLabelSlots; ++slot) {
            EXPECT_EQ(skin::ListLabelName(row, slot) != nullptr, slot < 3 * counts[row])
                << row << "/" << slot;
        }
    }
}

TEST(ButtonBarRegionTest, CodesAndCorners) {
    using skin::NavigationCode;
    EXPECT_EQ(skin::CrossRegionCode(1), NavigationCode::ShortcutPage);
    EXPECT_EQ(skin::CrossRegionCode(4), NavigationCode::ThreeDPage);
    EXPECT_EQ(skin::BarRegionCode(1), NavigationCode::VendorSite);
    EXPECT_EQ(skin::BarRegionCode(5), NavigationCode::QualityPage);
    EXPECT_FALSE(skin::IsNavigationCode(0));
    EXPECT_TRUE(skin::IsNavigationCode(9));
    EXPECT_FALSE(skin::IsNavigationCode(10));
    EXPECT_EQ(skin::BarRegionCorners(3)[0], (skin::IntPoint{84, 62}));
    EXPECT_EQ(skin::BarRegionCorners(5)[3], (skin::IntPoint{199, 42}));
}

TEST(ButtonBarRegionTest, OverlappingRectanglesResolveToTheLowerNumber) {
    const std::array<skin::IntRect, 4> regions = {
        skin::IntRect{0, 0, 10, 10}, {5, 5, 20, 20}, {30, 0, 40, 10}, {0, 0, 50, 50}};
    EXPECT_EQ(skin::FirstRegionAt(regions, 7, 7), 1);
    EXPECT_EQ(skin::FirstRegionAt(regions, 15, 15), 2);
    EXPECT_EQ(skin::FirstRegionAt(regions, 45, 45), 4);
    EXPECT_EQ(skin::FirstRegionAt(regions, 60, 60), 0);
    EXPECT_EQ(skin::FirstRegionAt(regions, 10, 3), 4);  // right edge is outside region 1
}

TEST(GaugeGeometryTest, NeedleAngleFollowsTheTemperature) {
    EXPECT_FLOAT_EQ(skin::NeedleAngle(40), 166.0f);
    EXPECT_FLOAT_EQ(skin::NeedleAngle(70), 272.8f);
    EXPECT_FLOAT_EQ(skin::NeedleAngle(100), 379.6f);
}

TEST(GaugeGeometryTest, NeedleTurnsAboutThePivotOfTheMainWindowGauge) {
    const skin::IntRect gauge{140, 75, 300, 250};
    EXPECT_EQ(skin::NeedlePivot(gauge, 23), (skin::IntPoint{215, 167}));
    for (int t : {40, 55, 70, 85, 100}) {
        const auto points = skin::NeedlePoints(gauge, 23, 80, t);
        const double radians = skin::NeedleAngle(t) * 3.14159265358979 / 180.0;
        // The top edge's midpoint is the pivot; the picture keeps its size.
        EXPECT_NEAR((points[0].x + points[1].x) / 2.0, 215.0, 1.0) << t;
        EXPECT_NEAR((points[0].y + points[1].y) / 2.0, 167.0, 1.0) << t;
        EXPECT_NEAR(std::hypot(points[1].x - points[0].x, points[1].y - points[0].y), 23.0, 1.5);
        EXPECT_NEAR(std::hypot(points[2].x - points[0].x, points[2].y - points[0].y), 80.0, 1.5);
        // The picture's length points along the angle (0 degrees = straight down, clockwise).
        const double dx = points[2].x - points[0].x;
        const double dy = points[2].y - points[0].y;
        EXPECT_NEAR(dx, -80.0 * std::sin(radians), 1.5) << t;
        EXPECT_NEAR(dy, 80.0 * std::cos(radians), 1.5) << t;
    }
}

TEST(GaugeGeometryTest, AtFortyDegreesTheNeedlePointsNearlyStraightUp) {
    const auto points = skin::NeedlePoints({140, 75, 300, 250}, 23, 80, 40);
    // Rotated 166 degrees: the lower-left corner ends up above and a little left of the
    // upper-left one, which swings to the right of the pivot.
    EXPECT_EQ(points[0], (skin::IntPoint{226, 164}));
    EXPECT_LT(points[2].y, points[0].y - 70);
    EXPECT_LT(points[2].x, points[0].x - 15);
}

}  // namespace
