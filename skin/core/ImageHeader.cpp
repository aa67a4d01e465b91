#include "skin/core/ImageHeader.h"

#include <array>
#include <cstring>

namespace skin {
namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// PNG sizes are 31-bit; a decoder refuses anything larger.
constexpr std::uint32_t kLargestPngSide = 0x7FFFFFFF;

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

int LittleEndian16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}

std::optional<ImageSize> Checked(std::uint32_t width, std::uint32_t height) {
    if (width == 0 || height == 0 || width > kLargestPngSide || height > kLargestPngSide) {
        return std::nullopt;
    }
    return ImageSize{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

std::optional<ImageSize> ReadImageSize(const std::uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr) {
        return std::nullopt;
    }
    // Signature, then the first chunk, which must be IHDR: length, type, width, height.
    if (size >= 24 && std::memcmp(bytes, kPngSignature.data(), kPngSignature.size()) == 0) {
        if (std::memcmp(bytes + 12, "IHDR", 4) != 0) {
            return std::nullopt;
        }
        return Checked(BigEndian32(bytes + 16), BigEndian32(bytes + 20));
    }
    // "GIF87a" or "GIF89a", then the logical screen's width and height.
    if (size >= 10 &&
        (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0)) {
        return Checked(static_cast<std::uint32_t>(LittleEndian16(bytes + 6)),
                       static_cast<std::uint32_t>(LittleEndian16(bytes + 8)));
    }
    return std::nullopt;
}

}  // namespace skin
