// Picture sizes read from PNG and GIF headers, without decoding: the real skin files and
// damaged or foreign headers.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "skin/core/ImageHeader.h"
#include "tests/support/FileText.h"

namespace {

using skin::ImageSize;
using skin::ReadImageSize;
using Bytes = std::vector<std::uint8_t>;

Bytes FileBytes(const char* name) {
    return testkit::ReadFileBytes(std::string(VELMORA_SKIN_DIR) + "/" + name);
}

// A PNG signature and the start of an IHDR chunk of the given size.
Bytes PngHeader(std::uint32_t width, std::uint32_t height) {
    Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    return bytes;
}

TEST(ImageHeader, ReadsTheSizeOfTheSkinsPngAndGifFiles) {
    const Bytes background = FileBytes("MainDlg_BKALL.png");
    ASSERT_FALSE(background.empty());
    EXPECT_EQ(ReadImageSize(background.data(), background.size()), (ImageSize{800, 328}));
    const Bytes number = FileBytes("CONTROL__NUM.png");
    EXPECT_EQ(ReadImageSize(number.data(), number.size()), (ImageSize{72, 15}));
    const Bytes wait = FileBytes("WaitBtnGif.gif");
    ASSERT_FALSE(wait.empty());
    EXPECT_EQ(ReadImageSize(wait.data(), wait.size()), (ImageSize{100, 7}));
}

TEST(ImageHeader, ReadsTheFullRangeOfPngSides) {
    const Bytes large = PngHeader(0x7FFFFFFF, 1);
    EXPECT_EQ(ReadImageSize(large.data(), large.size()), (ImageSize{0x7FFFFFFF, 1}));
}

TEST(ImageHeader, DamagedOrForeignHeadersTellNothing) {
    const Bytes good = PngHeader(10, 20);
    ASSERT_TRUE(ReadImageSize(good.data(), good.size()));
    // Every truncation of the header, down to nothing.
    for (std::size_t size = 0; size < good.size(); ++size) {
        EXPECT_FALSE(ReadImageSize(good.data(), size)) << size;
    }
    EXPECT_FALSE(ReadImageSize(nullptr, 100));
    Bytes otherChunk = good;
    otherChunk[12] = 'I';
    otherChunk[13] = 'D';
    otherChunk[14] = 'A';
    otherChunk[15] = 'T';
    EXPECT_FALSE(ReadImageSize(otherChunk.data(), otherChunk.size()));
    for (const Bytes& bad :
         {PngHeader(0, 5), PngHeader(5, 0), PngHeader(0x80000000u, 5), PngHeader(5, 0xFFFFFFFFu)}) {
        EXPECT_FALSE(ReadImageSize(bad.data(), bad.size()));
    }
    const Bytes bitmap = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(ReadImageSize(bitmap.data(), bitmap.size()));
    const Bytes emptyGif = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 7, 0};
    EXPECT_FALSE(ReadImageSize(emptyGif.data(), emptyGif.size()));
    const Bytes shortGif = {'G', 'I', 'F', '8', '7', 'a', 100, 0, 7};
    EXPECT_FALSE(ReadImageSize(shortGif.data(), shortGif.size()));
}

}  // namespace
