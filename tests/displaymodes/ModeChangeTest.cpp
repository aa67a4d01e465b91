// What a mode change asks the system for, the rotation it goes back to, and the question's
// layout and countdown.
#include <gtest/gtest.h>

#include "display/core/DisplayModes.h"
#include "display/core/KeepModeLayout.h"
#include "display/core/ModeChange.h"

namespace {

using namespace display;

constexpr ModeValues kLandscape{1680, 1050, 32, 60, 0};

TEST(ModeChange, EachCategorySetsOnlyItsValueAndNamesOnlyItsFields) {
    const auto resolution = RequestFor(kResolution, 1, kLandscape);
    ASSERT_TRUE(resolution);
    EXPECT_EQ(resolution->mode, (ModeValues{1440, 900, 32, 60, 0}));
    EXPECT_EQ(resolution->fields, kFieldWidth | kFieldHeight);

    const auto colour = RequestFor(kColourQuality, 1, kLandscape);
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->mode, (ModeValues{1680, 1050, 16, 60, 0}));
    EXPECT_EQ(colour->fields, kFieldBitsPerPixel);

    const auto refresh = RequestFor(kRefreshRate, 3, kLandscape);
    ASSERT_TRUE(refresh);
    EXPECT_EQ(refresh->mode, (ModeValues{1680, 1050, 32, 100, 0}));
    EXPECT_EQ(refresh->fields, kFieldFrequency);

    // Choices outside the lists set nothing.
    EXPECT_FALSE(RequestFor(kResolution, 10, kLandscape));
    EXPECT_FALSE(RequestFor(kRefreshRate, -1, kLandscape));
    EXPECT_FALSE(RequestFor(4, 0, kLandscape));
}

TEST(ModeChange, RotationTradesWidthAndHeightOnlyBetweenUprightAndOnItsSide) {
    const auto portrait = RequestFor(kRotation, 1, kLandscape);
    ASSERT_TRUE(portrait);
    EXPECT_EQ(portrait->mode, (ModeValues{1050, 1680, 32, 60, 1}));
    EXPECT_EQ(portrait->fields, kFieldOrientation | kFieldWidth | kFieldHeight);
    EXPECT_EQ(RequestFor(kRotation, 2, kLandscape)->mode, (ModeValues{1680, 1050, 32, 60, 2}));

    const ModeValues onItsSide{1050, 1680, 32, 60, 1};
    EXPECT_EQ(Turned(onItsSide, 3), (ModeValues{1050, 1680, 32, 60, 3}));
    EXPECT_EQ(Turned(onItsSide, 0), kLandscape);
    EXPECT_EQ(Turned(onItsSide, 2), (ModeValues{1680, 1050, 32, 60, 2}));
    // An index outside the list turns to upright; a mode reporting no known orientation counts
    // as upright.
    EXPECT_EQ(RequestFor(kRotation, 7, onItsSide)->mode, kLandscape);
    EXPECT_EQ(Turned(ModeValues{800, 600, 32, 60, 9}, 1), (ModeValues{600, 800, 32, 60, 1}));
}

TEST(ModeChange, TheRotationToGoBackToIsTheLastSetElseTheModes) {
    EXPECT_EQ(PreviousRotation(2, 0), 2);
    EXPECT_EQ(PreviousRotation(0, 3), 0);
    EXPECT_EQ(PreviousRotation(std::nullopt, 3), 3);
    EXPECT_EQ(PreviousRotation(std::nullopt, 4), 0);
    EXPECT_EQ(PreviousRotation(5, 1), 1);
    EXPECT_EQ(PreviousRotation(-1, 2), 2);
}

TEST(KeepModeLayout, ButtonsLieApartInsideTheWindowAndHitExactlyTheirBoxes) {
    for (const KeepBox& box : {kKeepButton, kRevertButton}) {
        EXPECT_GE(box.x, 0);
        EXPECT_LE(box.x + box.width, kKeepWidth);
        EXPECT_GT(box.y, kCountdownTop);
        EXPECT_LE(box.y + box.height, kKeepHeight);
    }
    EXPECT_LE(kKeepButton.x + kKeepButton.width, kRevertButton.x);
    EXPECT_EQ(KeepButtonAt(kKeepButton.x, kKeepButton.y), KeepButton::Keep);
    EXPECT_EQ(
        KeepButtonAt(kKeepButton.x + kKeepButton.width - 1, kKeepButton.y + kKeepButton.height - 1),
        KeepButton::Keep);
    EXPECT_EQ(KeepButtonAt(kKeepButton.x + kKeepButton.width, kKeepButton.y), KeepButton::None);
    EXPECT_EQ(KeepButtonAt(kKeepButton.x, kKeepButton.y - 1), KeepButton::None);
    EXPECT_EQ(KeepButtonAt(kRevertButton.x + 1, kRevertButton.y + 1), KeepButton::Revert);
    EXPECT_EQ(KeepButtonAt(kTextLeft, kQuestionTop), KeepButton::None);
}

TEST(KeepModeLayout, CountdownRoundsUpAndReachesZeroExactlyAtTheEnd) {
    constexpr std::uint64_t kTotal = kKeepSeconds * 1000;
    EXPECT_EQ(SecondsLeft(0, kTotal), 15);
    EXPECT_EQ(SecondsLeft(999, kTotal), 15);
    EXPECT_EQ(SecondsLeft(1000, kTotal), 14);
    EXPECT_EQ(SecondsLeft(kTotal - 1, kTotal), 1);
    EXPECT_EQ(SecondsLeft(kTotal, kTotal), 0);
    EXPECT_EQ(SecondsLeft(kTotal * 100, kTotal), 0);
    EXPECT_EQ(CountdownText(15), L"15 秒后将还原为先前的显示设置");
    EXPECT_EQ(CountdownText(-3), L"0 秒后将还原为先前的显示设置");
}

}  // namespace
