#include "display/core/ModeChange.h"

#include <utility>

#include "display/core/DisplayModes.h"

namespace display {
namespace {

std::uint32_t KnownOrientation(std::uint32_t orientation) {
    return orientation < kOrientationCount ? orientation : 0;
}

bool OnItsSide(std::uint32_t orientation) {
    return KnownOrientation(orientation) % 2 == 1;
}

}  // namespace

ModeValues Turned(const ModeValues& mode, std::uint32_t orientation) {
    ModeValues turned = mode;
    turned.orientation = KnownOrientation(orientation);
    if (OnItsSide(mode.orientation) != OnItsSide(turned.orientation)) {
        std::swap(turned.width, turned.height);
    }
    return turned;
}

std::optional<ModeRequest> RequestFor(int category, int index, const ModeValues& current) {
    ModeRequest request{current, 0};
    switch (category) {
        case kResolution: {
            const auto size = ResolutionAt(index);
            if (!size) {
                return std::nullopt;
            }
            request.mode.width = static_cast<std::uint32_t>(size->width);
            request.mode.height = static_cast<std::uint32_t>(size->height);
            request.fields = kFieldWidth | kFieldHeight;
            return request;
        }
        case kColourQuality:
            request.mode.bitsPerPixel = static_cast<std::uint32_t>(BitsPerPixel(index));
            request.fields = kFieldBitsPerPixel;
            return request;
        case kRefreshRate: {
            const auto hertz = RefreshRateAt(index);
            if (!hertz) {
                return std::nullopt;
            }
            request.mode.hertz = static_cast<std::uint32_t>(*hertz);
            request.fields = kFieldFrequency;
            return request;
        }
        case kRotation:
            request.mode = Turned(current, static_cast<std::uint32_t>(RotationCode(index)));
            request.fields = kFieldOrientation | kFieldWidth | kFieldHeight;
            return request;
        default:
            return std::nullopt;
    }
}

int PreviousRotation(std::optional<int> lastSet, std::uint32_t modeOrientation) {
    if (lastSet && *lastSet >= 0 && *lastSet < static_cast<int>(kOrientationCount)) {
        return *lastSet;
    }
    return static_cast<int>(KnownOrientation(modeOrientation));
}

}  // namespace display
