// The pixel size of a PNG or GIF picture, read from its header without decoding it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace skin {

struct ImageSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// The size a PNG's IHDR chunk or a GIF's logical screen states; nothing for other formats, a
// truncated header, or a size of 0 or beyond what a decoder accepts.
std::optional<ImageSize> ReadImageSize(const std::uint8_t* bytes, std::size_t size);

}  // namespace skin
