#include "libs/versync/core/ProductVersion.h"

namespace {

constexpr int kParts = 4;
constexpr std::uint32_t kPartMaximum = 0xFFFF;
constexpr std::size_t kPartDigitsMaximum = 5;

}  // namespace

std::optional<std::uint64_t> ParseProductVersion(std::string_view text) {
    std::uint64_t version = 0;
    int parts = 0;
    std::size_t at = 0;
    while (parts < kParts) {
        std::uint32_t part = 0;
        std::size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            if (++digits > kPartDigitsMaximum) {
                return std::nullopt;
            }
            part = part * 10 + static_cast<std::uint32_t>(text[at] - '0');
            ++at;
        }
        if (digits == 0 || part > kPartMaximum) {
            return std::nullopt;
        }
        version = version << 16 | part;
        ++parts;
        if (at == text.size()) {
            break;
        }
        if (text[at] != '.' || parts == kParts) {
            return std::nullopt;
        }
        ++at;
    }
    return version << (16 * (kParts - parts));
}
