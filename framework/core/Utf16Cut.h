// Cutting UTF-16 texts without splitting a surrogate pair: a character of the supplementary
// planes is two code units but one character, and half of it shows as a broken glyph.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace text {

// A code unit's value; a signed unit type (wchar_t off Windows) counts from 0 upwards too.
template <class Unit>
constexpr std::uint32_t UnitValue(Unit unit) {
    return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Unit>>(unit));
}

template <class Unit>
constexpr bool IsLeadSurrogate(Unit unit) {
    const std::uint32_t value = UnitValue(unit);
    return value >= 0xD800 && value <= 0xDBFF;
}

template <class Unit>
constexpr bool IsTrailSurrogate(Unit unit) {
    const std::uint32_t value = UnitValue(unit);
    return value >= 0xDC00 && value <= 0xDFFF;
}

// The code units of the first `characters` characters (a pair counts once, a lone surrogate
// like any other unit); the whole length when the text has no more characters than that.
template <class Unit>
constexpr std::size_t UnitsOfCharacters(std::basic_string_view<Unit> text, std::size_t characters) {
    std::size_t units = 0;
    for (std::size_t counted = 0; counted < characters && units < text.size(); ++counted) {
        const bool pair = IsLeadSurrogate(text[units]) && units + 1 < text.size() &&
                          IsTrailSurrogate(text[units + 1]);
        units += pair ? 2 : 1;
    }
    return units;
}

// How many of the first `units` code units to keep so that no pair is split: `units`, or one
// less when the last one kept would open a pair; the whole length when the text is that short.
template <class Unit>
constexpr std::size_t WholeCharacterUnits(std::basic_string_view<Unit> text, std::size_t units) {
    if (text.size() <= units) {
        return text.size();
    }
    if (units > 0 && IsLeadSurrogate(text[units - 1]) && IsTrailSurrogate(text[units])) {
        return units - 1;
    }
    return units;
}

}  // namespace text
