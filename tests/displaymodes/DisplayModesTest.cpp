// The display-modes page's lists and picking: texts, stored indices, the two resolution pages
// and the clickable area.
#include <gtest/gtest.h>

#include <string>

#include "display/core/DisplayModes.h"

namespace {

using namespace display;

TEST(DisplayModes, ListsHoldTheTwentyChoicesWithTheMultiplicationSign) {
    EXPECT_EQ(ChoiceCount(kResolution), 10);
    EXPECT_EQ(ChoiceCount(kColourQuality), 2);
    EXPECT_EQ(ChoiceCount(kRefreshRate), 4);
    EXPECT_EQ(ChoiceCount(kRotation), 4);
    EXPECT_EQ(ChoiceCount(4), 0);
    EXPECT_EQ(ChoiceText(kResolution, 1), L"1440\u00D7900");
    EXPECT_EQ(ChoiceText(kResolution, 9), L"800\u00D7600");
    EXPECT_EQ(ChoiceText(kColourQuality, 1), L"一般品质");
    EXPECT_EQ(ChoiceText(kRefreshRate, 3), L"100");
    EXPECT_EQ(ChoiceText(kRotation, 2), L"横向旋转");
    EXPECT_EQ(ChoiceText(kResolution, 10), L"");
    EXPECT_EQ(ChoiceText(kRotation, -1), L"");
    for (int index = 0; index < 10; ++index) {
        const auto size = ResolutionAt(index);
        ASSERT_TRUE(size);
        EXPECT_EQ(ChoiceText(kResolution, index),
                  std::to_wstring(size->width) + L"\u00D7" + std::to_wstring(size->height));
    }
}

TEST(DisplayModes, StoredIndicesOutsideTheirListLoadAsTheFirstChoice) {
    EXPECT_EQ(LoadedIndex(kResolution, 12), 0);
    EXPECT_EQ(LoadedIndex(kResolution, 10), 0);
    EXPECT_EQ(LoadedIndex(kResolution, 9), 9);
    EXPECT_EQ(LoadedIndex(kColourQuality, 2), 0);
    EXPECT_EQ(LoadedIndex(kRefreshRate, 4), 0);
    EXPECT_EQ(LoadedIndex(kRotation, 3), 3);
    EXPECT_EQ(LoadedIndex(kRotation, -1), 0);
    EXPECT_EQ(LoadedIndex(kRotation, INT32_MIN), 0);
}

TEST(DisplayModes, ApplyValuesForEveryIndex) {
    EXPECT_EQ(BitsPerPixel(0), 32);
    EXPECT_EQ(BitsPerPixel(1), 16);
    EXPECT_EQ(BitsPerPixel(7), 16);
    EXPECT_EQ(RefreshRateAt(2), 85);
    EXPECT_FALSE(RefreshRateAt(4));
    EXPECT_FALSE(ResolutionAt(-1));
    EXPECT_EQ(RotationCode(0), 0);
    EXPECT_EQ(RotationCode(3), 3);
    EXPECT_EQ(RotationCode(4), 0);
    EXPECT_EQ(RotationCode(-2), 0);
}

TEST(DisplayModes, PagingKeepsTheRowAndMovesToTheOtherPage) {
    EXPECT_EQ(ResolutionPage(4), 0);
    EXPECT_EQ(ResolutionPage(5), 1);
    EXPECT_EQ(IndexOnPage(6, 0), 1);  // 1280x800 -> 1440x900
    EXPECT_EQ(IndexOnPage(1, 1), 6);
    EXPECT_EQ(IndexOnPage(5, 0), 0);
    EXPECT_EQ(IndexOnPage(9, 1), 9);
    EXPECT_EQ(RowsShown(kResolution, 5).first, 5);
    EXPECT_EQ(RowsShown(kResolution, 4).first, 0);
    EXPECT_EQ(RowsShown(kRefreshRate, 2).count, 4);
    EXPECT_EQ(SelectionRow(kResolution, 8), 3);
    EXPECT_EQ(SelectionRow(kRotation, 2), 2);
}

TEST(DisplayModes, OnlyClicksInsideTheListPickAndOnlyRowsThatExist) {
    // x strictly between 35 and 130, y beyond 29; rows of 25 from y 29.
    EXPECT_FALSE(PickedIndex(kRefreshRate, 35, 40, 0));
    EXPECT_FALSE(PickedIndex(kRefreshRate, 130, 40, 0));
    EXPECT_FALSE(PickedIndex(kRefreshRate, 80, 29, 0));
    EXPECT_EQ(PickedIndex(kRefreshRate, 36, 30, 0), 0);
    EXPECT_EQ(PickedIndex(kRefreshRate, 129, 29 + 3 * 25, 0), 3);
    EXPECT_FALSE(PickedIndex(kRefreshRate, 80, 29 + 4 * 25, 0));
    EXPECT_EQ(PickedIndex(kColourQuality, 80, 29 + 25, 0), 1);
    EXPECT_FALSE(PickedIndex(kColourQuality, 80, 29 + 2 * 25, 0));
    // The resolution list picks on the page it shows.
    EXPECT_EQ(PickedIndex(kResolution, 80, 29 + 3 * 25 + 5, 1), 8);
    EXPECT_EQ(PickedIndex(kResolution, 80, 29 + 3 * 25 + 5, 0), 3);
    EXPECT_FALSE(PickedIndex(kResolution, 80, 29 + 5 * 25, 0));
    EXPECT_FALSE(PickedIndex(7, 80, 40, 0));
}

TEST(DisplayModes, TextsAreRoughlyCentredOnTheList) {
    EXPECT_EQ(TextX(9), 73 - 31);
    EXPECT_EQ(TextX(2), 66);
}

}  // namespace
