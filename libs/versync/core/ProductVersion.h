// Product versions as Windows version resources hold them: four 16-bit parts, major first.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// "a", "a.b", "a.b.c" or "a.b.c.d" with decimal parts of at most 65535 (missing parts are 0)
// as one number that compares like the version: a << 48 | b << 32 | c << 16 | d.
std::optional<std::uint64_t> ParseProductVersion(std::string_view text);

// The same number from a version resource's two 32-bit halves.
constexpr std::uint64_t ProductVersionFromResource(std::uint32_t mostSignificant,
                                                   std::uint32_t leastSignificant) {
    return static_cast<std::uint64_t>(mostSignificant) << 32 | leastSignificant;
}
