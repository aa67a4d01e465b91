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
    MarkAllChanged();
    return true;
}

HDC SkinSurface::GetDC() {
    MarkAllChanged();
    return dc_.get();
}

HDC SkinSurface::DrawingDc(const RECT& area) {
    MarkChanged(area);
    return dc_.get();
}

void SkinSurface::MarkAllChanged() {
    changed_ = RECT{0, 0, kWidth, kHeight};
}

void SkinSurface::MarkChanged(const RECT& area) {
    RECT inside{};
    const RECT whole{0, 0, kWidth, kHeight};
    if (!::IntersectRect(&inside, &area, &whole)) {
        return;
    }
    ::UnionRect(&changed_, &changed_, &inside);  // an empty rectangle adds nothing
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
    MarkChanged(rect);
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
    MarkAllChanged();
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
    RECT placed{};
    return window != nullptr && ::GetWindowRect(window, &placed) &&
           Present(window, placed, nullptr);
}

bool SkinSurface::PresentChanged(HWND window) {
    RECT placed{};
    if (window == nullptr || !::GetWindowRect(window, &placed)) {
        return false;
    }
    if (window != presentedTo_ || !::EqualRect(&placed, &presentedAt_)) {
        MarkAllChanged();
    }
    const RECT whole{0, 0, kWidth, kHeight};
    const bool part = !::IsRectEmpty(&changed_) && !::EqualRect(&changed_, &whole);
    if (!Present(window, placed, part ? &changed_ : nullptr)) {
        return false;
    }
    changed_ = RECT{};
    presentedTo_ = window;
    presentedAt_ = placed;
    return true;
}

bool SkinSurface::Present(HWND window, const RECT& rect, const RECT* dirty) const {
    if (!dc_) {
        return false;
    }
    POINT position{rect.left, rect.top};
    SIZE size{std::min<LONG>(rect.right - rect.left, kWidth),
              std::min<LONG>(rect.bottom - rect.top, kHeight)};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    fw::WindowDc screen(nullptr);
    UPDATELAYEREDWINDOWINFO info{};
    info.cbSize = sizeof(info);
    info.hdcDst = screen.get();
    info.pptDst = &position;
    info.psize = &size;
    info.hdcSrc = dc_.get();
    info.pptSrc = &source;
    info.pblend = &blend;
    info.dwFlags = ULW_ALPHA;
    info.prcDirty = dirty;
    return ::UpdateLayeredWindowIndirect(window, &info) != FALSE;
}
