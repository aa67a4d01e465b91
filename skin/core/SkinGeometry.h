// Plain rectangles and points shared by the toolkit's pure geometry (no windows.h here).
#pragma once

namespace skin {

struct IntPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

// Left and top inclusive, right and bottom exclusive, as Win32 RECTs are hit-tested.
struct IntRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const IntRect&, const IntRect&) = default;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

}  // namespace skin
