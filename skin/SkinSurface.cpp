#include "skin/SkinSurface.h"

#include <algorithm>

bool SkinSurface::Create(HWND window) {
    Reset();
    fw::WindowDc screen(window);
    if (!screen) {
        return false;
    }
    fw::DibSection bitmap(screen.get(), kWidth, kHeight);
    fw::MemoryDc dc(::CreateCompatibleDC(screen.get()));
    if (!bitmap || !dc) {
        return false;
    }
    // The section stays selected for the DC's whole life; deleting the DC first releases it.
    ::SelectObject(dc.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    return true;
}

void SkinSurface::Reset() {
    dc_.reset();
    bitmap_ = fw::DibSection();
}

DWORD SkinSurface::Pixel(int x, int y) const {
    if (x < 0 || x >= bitmap_.width()) {
        return 0;
    }
    const DWORD* row = bitmap_.row(y);
    if (row == nullptr) {
        return 0;
    }
    ::GdiFlush();
    return row[x];
}

void SkinSurface::Fill(const RECT& rect, DWORD bgra) {
    const int left = std::max<int>(rect.left, 0);
    const int right = std::min<int>(rect.right, bitmap_.width());
    if (right <= left) {
        return;
    }
    ::GdiFlush();
    for (int y = std::max<int>(rect.top, 0); y < rect.bottom; ++y) {
        DWORD* row = bitmap_.row(y);
        if (row == nullptr) {
            break;
        }
        std::fill(row + left, row + right, bgra);
    }
}

bool SkinSurface::CopyFrom(const SkinSurface& other) {
    if (!*this || !other) {
        return false;
    }
    ::GdiFlush();
    for (int y = 0; y < kHeight; ++y) {
        const DWORD* from = other.bitmap_.row(y);
        DWORD* to = bitmap_.row(y);
        if (from == nullptr || to == nullptr) {
            return false;
        }
        std::copy(from, from + kWidth, to);
    }
    return true;
}

void SkinSurface::PaintTo(HDC target, int width, int height) const {
    if (dc_) {
        ::BitBlt(target, 0, 0, width, height, dc_.get(), 0, 0, SRCCOPY);
    }
}

bool SkinSurface::PresentLayered(HWND window) const {
    if (window == nullptr || !dc_) {
        return false;
    }
    RECT rect;
    if (!::GetWindowRect(window, &rect)) {
        return false;
    }
    POINT position{rect.left, rect.top};
    SIZE size{std::min<LONG>(rect.right - rect.left, kWidth),
              std::min<LONG>(rect.bottom - rect.top, kHeight)};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    fw::WindowDc screen(nullptr);
    return ::UpdateLayeredWindow(window, screen.get(), &position, &size, dc_.get(), &source, 0,
                                 &blend, ULW_ALPHA) != FALSE;
}
