// What a display-mode change asks of the system and what taking it back needs: the values of a
// mode, the fields a request names, the size a turned screen takes and the rotation to go back
// to. The field flags and orientation codes are the system's DEVMODE values, repeated here so
// that the decisions need no windows.h.
#pragma once

#include <cstdint>
#include <optional>

namespace display {

inline constexpr std::uint32_t kFieldOrientation = 0x00000080;   // DM_DISPLAYORIENTATION
inline constexpr std::uint32_t kFieldBitsPerPixel = 0x00040000;  // DM_BITSPERPEL
inline constexpr std::uint32_t kFieldWidth = 0x00080000;         // DM_PELSWIDTH
inline constexpr std::uint32_t kFieldHeight = 0x00100000;        // DM_PELSHEIGHT
inline constexpr std::uint32_t kFieldFrequency = 0x00400000;     // DM_DISPLAYFREQUENCY
// The fields a mode put back must name, so that every one of its values comes back.
inline constexpr std::uint32_t kRestoredFields =
    kFieldOrientation | kFieldBitsPerPixel | kFieldWidth | kFieldHeight | kFieldFrequency;

// Orientations (DMDO_DEFAULT, DMDO_90, DMDO_180, DMDO_270): the same numbers as the page's
// rotation codes.
inline constexpr std::uint32_t kOrientationCount = 4;

// The values of a mode that a change may touch.
struct ModeValues {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t hertz = 0;
    std::uint32_t orientation = 0;

    bool operator==(const ModeValues&) const = default;
};

// A mode to ask for: the current mode with the chosen values, and only their fields named.
struct ModeRequest {
    ModeValues mode;
    std::uint32_t fields = 0;
};

// What Apply asks the system for in a category, starting from the current mode. A rotation
// through the system turns the orientation and, as the system requires, trades width and
// height when the screen goes from upright to on its side or back. Nothing for a resolution or
// refresh rate outside the lists, or for an unknown category.
std::optional<ModeRequest> RequestFor(int category, int index, const ModeValues& current);

// The mode turned to an orientation (codes outside 0-3 count as 0).
ModeValues Turned(const ModeValues& mode, std::uint32_t orientation);

// The rotation code to go back to after a rotation through the driver: the one the program last
// set, else the orientation the current mode reports (0 when that is no orientation).
int PreviousRotation(std::optional<int> lastSet, std::uint32_t modeOrientation);

}  // namespace display
