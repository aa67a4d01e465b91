#include "display/core/QualityRanges.h"

#include <limits>

namespace display {

namespace {

// Far beyond any real slider, and far enough from the 32-bit limits for every shift we make.
constexpr std::int32_t kLargestDriverValue = 1000000;

bool IsSane(std::int32_t value) {
    return value >= -kLargestDriverValue && value <= kLargestDriverValue;
}

std::optional<SliderRange> Usable(std::int32_t minimum, std::int32_t maximum, std::int32_t step) {
    if (!IsSane(minimum) || !IsSane(maximum) || minimum >= maximum) {
        return std::nullopt;
    }
    if (step < 1 || step > maximum - minimum) {
        return std::nullopt;
    }
    return SliderRange{minimum, maximum, step};
}

}  // namespace

std::optional<GammaScale> GammaScaleFromDriver(std::int32_t reference, std::int32_t minimum,
                                               std::int32_t maximum, std::int32_t step) {
    const std::optional<SliderRange> range = Usable(minimum, maximum, step);
    if (!range || reference < minimum || reference > maximum) {
        return std::nullopt;
    }
    return GammaScale{{minimum + 1, maximum + 1, step}, reference + 1};
}

std::optional<SliderRange> ColorSliderRange(std::int32_t minimum, std::int32_t maximum,
                                            std::int32_t step, std::int32_t offset) {
    const std::optional<SliderRange> range = Usable(minimum, maximum, step);
    if (!range || !IsSane(offset)) {
        return std::nullopt;
    }
    return SliderRange{minimum + offset, maximum + offset, step};
}

std::int32_t ShiftedValue(std::int32_t value, std::int32_t offset) {
    const std::int64_t shifted = static_cast<std::int64_t>(value) + offset;
    if (shifted > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (shifted < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(shifted);
}

std::int32_t PresetValueToStore(bool rangeFromDriver, const LoadedValue& loaded,
                                std::int32_t current) {
    if (rangeFromDriver || current != loaded.shown) {
        return current;
    }
    return loaded.stored;
}

}  // namespace display
