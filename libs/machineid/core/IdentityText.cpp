#include "libs/machineid/core/IdentityText.h"

#include <cstdint>
#include <type_traits>

namespace {

constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
constexpr char kHexDigits[] = "0123456789ABCDEF";

constexpr wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
}

}  // namespace

std::string IdentityText(std::wstring_view machineKey) {
    if (machineKey.empty()) {
        return {};
    }
    std::uint64_t digest = kFnvOffsetBasis;
    for (wchar_t c : machineKey) {
        // Both bytes of a UTF-16 unit, so the digest is the same on every platform.
        const auto unit =
            static_cast<std::uint16_t>(static_cast<std::make_unsigned_t<wchar_t>>(AsciiLower(c)));
        for (int shift = 0; shift < 16; shift += 8) {
            digest ^= (unit >> shift) & 0xFFu;
            digest *= kFnvPrime;
        }
    }
    // The top 60 bits, one hexadecimal digit per 4 bits.
    std::string text(kIdentityLength, '0');
    for (std::size_t i = 0; i < kIdentityLength; ++i) {
        text[i] = kHexDigits[(digest >> (60 - 4 * i)) & 0xFu];
    }
    return text;
}
