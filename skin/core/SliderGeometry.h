// The horizontal slider's arithmetic: value to fill position, button layout, track clicks and
// the four-digit value box.
#pragma once

#include <array>
#include <optional>

#include "skin/core/SkinGeometry.h"

namespace skin {

// Width of the full track: 29 positions of 6 pixels plus 4.
constexpr int kFullTrackWidth = 178;
constexpr int kCompactTrackWidth = 123;
constexpr int kTrackPixelsPerPosition = 6;

// Fill position of a value: (value - minimum) / (maximum - minimum) of trackSteps, rounded to
// the nearest integer with halves upward (toward zero for negatives). An empty or inverted range
// (maximum <= minimum) has position 0.
int SliderPosition(int value, int minimum, int maximum, int trackSteps);

// Width of the filled part of a track for a position: six pixels a position plus four, never
// past the track's end (a compact track at its last position, or a position left beyond the
// track's steps by a new range).
constexpr int SliderFillWidth(int position, int trackWidth) {
    const int width = position * kTrackPixelsPerPosition + 4;
    return width < trackWidth ? width : trackWidth;
}

struct SliderButtons {
    IntRect minus;
    IntRect plus;
};
// Hit rectangles of the step buttons from the track width and the button images' sizes.
SliderButtons SliderButtonLayout(int trackWidth, int minusWidth, int minusHeight, int plusWidth,
                                 int plusHeight);

// The clickable part of the track.
IntRect SliderTrackArea(int trackWidth, int minusWidth, int trackImageHeight);
// Segment (1-based) under a point of the track area.
int SliderTrackSegment(int x, int minusWidth);

// The value a click on a segment selects: the largest value of the grid maximum, maximum - step,
// ... (down to minimum) whose position is the segment; nothing when no value falls in it, when the
// segment is not positive or when the range is empty. A step of 0 or less offers only maximum.
std::optional<int> SliderValueForSegment(int segment, int minimum, int maximum, int step,
                                         int trackSteps);

// The four digits (thousands to units) the value box shows: the last four decimal digits of the
// value's magnitude.
std::array<int, 4> SliderBoxDigits(int value);

// Source x of a digit in the digit strip (each digit 7 pixels wide).
constexpr int kDigitWidth = 7;
constexpr int SliderDigitSourceX(int digit) {
    return kDigitWidth * digit + 1;
}

}  // namespace skin
