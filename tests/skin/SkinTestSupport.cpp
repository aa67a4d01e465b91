#include "tests/skin/SkinTestSupport.h"

namespace skintest {

std::unique_ptr<Gdiplus::Bitmap> ArgbImage(int width, int height, DWORD argb) {
    auto image = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(image.get());
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    Gdiplus::SolidBrush brush{Gdiplus::Color{argb}};
    graphics.FillRectangle(&brush, 0, 0, width, height);
    return image;
}

std::unique_ptr<Gdiplus::Bitmap> SolidImage(int width, int height, DWORD rgb) {
    return ArgbImage(width, height, Opaque(rgb));
}

std::unique_ptr<Gdiplus::Bitmap> DigitStrip() {
    auto image = SolidImage(72, 15, 0x000000);
    for (int d = 0; d < 10; ++d) {
        for (int x = 7 * d + 1; x < 7 * d + 8 && x < 72; ++x) {
            for (int y = 0; y < 15; ++y) {
                image->SetPixel(x, y, Gdiplus::Color{Opaque(DigitColour(d))});
            }
        }
    }
    return image;
}

LRESULT SendMouse(HWND hwnd, UINT msg, int x, int y, WPARAM keys) {
    return ::SendMessageW(hwnd, msg, keys, MAKELPARAM(x, y));
}

}  // namespace skintest
