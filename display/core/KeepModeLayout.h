// The question asked after a display-mode change: its size and where it sits on the screen,
// its two buttons and what a point hits, and the countdown it shows until the mode goes back.
#pragma once

#include <cstdint>
#include <string>

namespace display {

inline constexpr int kKeepWidth = 300;
inline constexpr int kKeepHeight = 132;
// How long the new mode stays without an answer.
inline constexpr int kKeepSeconds = 15;

struct KeepBox {
    int x;
    int y;
    int width;
    int height;

    bool Contains(int px, int py) const {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};
// Dialog client coordinates; the pictures are drawn at these places.
inline constexpr KeepBox kKeepButton{78, 91, 98, 25};
inline constexpr KeepBox kRevertButton{186, 91, 98, 25};
inline constexpr int kTextLeft = 70;
inline constexpr int kQuestionTop = 24;
inline constexpr int kCountdownTop = 54;

enum class KeepButton { None, Keep, Revert };
// The button under a dialog client point.
KeepButton KeepButtonAt(int x, int y);

// The dialog's top-left corner centred on a screen of this size (never off its top or left).
struct KeepOrigin {
    int x;
    int y;
};
KeepOrigin CentredKeepOrigin(int screenWidth, int screenHeight);

// Whole seconds left, rounded up, after elapsedMs of totalMs; 0 once the time is over.
int SecondsLeft(std::uint64_t elapsedMs, std::uint64_t totalMs);
// The line under the question: when the previous mode comes back.
std::wstring CountdownText(int seconds);

}  // namespace display
