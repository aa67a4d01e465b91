// The temperature gauge's needle: angle, pivot and the three corners DrawImage is given.
#pragma once

#include <array>

#include "skin/core/SkinGeometry.h"

namespace skin {

// Needle angle in degrees, clockwise on screen: 166 at 40 degrees Celsius, 3.56 per degree.
float NeedleAngle(int temperatureCelsius);

// Screen point the needle turns about: the top centre of the needle picture, placed at
// (left + 53 + c, top + 92) with c = needleWidth / 2 (integer halving).
IntPoint NeedlePivot(const IntRect& gauge, int needleWidth);

// Upper-left, upper-right and lower-left corners of the needle picture after rotating it about
// its top centre by the temperature's angle and moving it to the pivot, rounded to integers as
// GDI+ rounds transformed integer points.
std::array<IntPoint, 3> NeedlePoints(const IntRect& gauge, int needleWidth, int needleHeight,
                                     int temperatureCelsius);

}  // namespace skin
