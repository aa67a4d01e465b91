#include "framework/Handles.h"

namespace fw {

DibSection::DibSection(HDC reference, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        if (bitmap != nullptr) {
            ::DeleteObject(bitmap);
        }
        return;
    }
    bitmap_.reset(bitmap);
    bits_ = bits;
    width_ = width;
    height_ = height;
}

DWORD* DibSection::row(int y) const {
    if (bits_ == nullptr || y < 0 || y >= height_) {
        return nullptr;
    }
    return static_cast<DWORD*>(bits_) + static_cast<size_t>(y) * static_cast<size_t>(width_);
}

}  // namespace fw
