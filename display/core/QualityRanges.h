// What the display-quality page makes of the driver's answers: the slider ranges it accepts, the
// gamma range it uses when the driver gives none, and which value a preset keeps when the
// slider's range was not the driver's.
#pragma once

#include <cstdint>
#include <optional>

namespace display {

struct SliderRange {
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t step;
};

struct GammaScale {
    SliderRange range;
    // The slider value at which the ramp's exponent is exactly 1.
    std::int32_t reference;
};

// Without the driver's gamma setting: reference 10, the value the installed presets (10 to 12)
// are written against, and a range of 0..19, whose exponents (2.0 down to 0.1) are exactly the
// band the ramp writer accepts, so every position of the slider takes effect.
inline constexpr GammaScale kFallbackGammaScale{{0, 19, 1}, 10};

// The brightness slider shows ADL brightness shifted by this much; contrast is shown as it is.
inline constexpr std::int32_t kBrightnessOffset = 100;

// The gamma slider's scale from the driver's gamma setting (reference, minimum, maximum and step,
// each shifted by one onto the slider). Nothing when the words make no usable range: minimum not
// below maximum, a step below 1 or wider than the range, a reference outside the range, or a
// value so large that shifting it could overflow.
std::optional<GammaScale> GammaScaleFromDriver(std::int32_t reference, std::int32_t minimum,
                                               std::int32_t maximum, std::int32_t step);

// A brightness or contrast slider's range from the ADL colour range, shifted by `offset`; nothing
// for an unusable range (the same rules as the gamma scale).
std::optional<SliderRange> ColorSliderRange(std::int32_t minimum, std::int32_t maximum,
                                            std::int32_t step, std::int32_t offset);

// `value` + `offset`, saturated to 32 bits: a driver's current value shown on a slider.
std::int32_t ShiftedValue(std::int32_t value, std::int32_t offset);

// A preset value as it was loaded into a slider: the stored value and what the slider showed of
// it (clamped to the slider's range).
struct LoadedValue {
    std::int32_t stored = 0;
    std::int32_t shown = 0;
};

// The value to store back into a preset from a slider. A slider whose range the driver gave
// stores what it shows. A slider on a range of our own (no driver) may have clamped the stored
// value on loading: it keeps the stored value unless the user moved the slider since.
std::int32_t PresetValueToStore(bool rangeFromDriver, const LoadedValue& loaded,
                                std::int32_t current);

}  // namespace display
