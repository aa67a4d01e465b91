#include "skin/HListBtnBar.h"

#include "skin/AppMessages.h"
#include "skin/core/ButtonBarRegions.h"

CHListBtnBar::CHListBtnBar() : handCursor(::LoadCursorW(nullptr, IDC_HAND)) {
    for (int i = 0; i < skin::kBarRegionCount; ++i) {
        const auto& corners = skin::BarRegionCorners(i + 1);
        POINT points[4];
        for (size_t k = 0; k < corners.size(); ++k) {
            points[k] = {corners[k].x, corners[k].y};
        }
        regions[static_cast<size_t>(i)].reset(::CreatePolygonRgn(points, 4, WINDING));
    }
}

void CHListBtnBar::PreSubclassWindow() {
    skin::MakeOwnerDraw(GetSafeHwnd(), SS_NOTIFY);
}

void CHListBtnBar::AttachSurface(SkinSurface* target) {
    clearSource_.reset();
    clearBits_ = fw::DibSection();
    surface = target;
    HDC dc = skin::SurfaceDc(surface);
    if (dc == nullptr) {
        return;
    }
    fw::DibSection bits(dc, SkinSurface::kWidth, SkinSurface::kHeight);
    fw::MemoryDc source(::CreateCompatibleDC(dc));
    if (bits && source) {
        ::SelectObject(source.get(), bits.get());
        clearBits_ = std::move(bits);
        clearSource_ = std::move(source);
    }
    Redraw();
}

int CHListBtnBar::RegionAt(int x, int y) const {
    for (size_t i = 0; i < regions.size(); ++i) {
        if (regions[i] && ::PtInRegion(regions[i].get(), x, y)) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

void CHListBtnBar::Redraw() {
    HWND hwnd = GetSafeHwnd();
    HWND parent = hwnd != nullptr ? ::GetParent(hwnd) : nullptr;
    if (parent == nullptr) {
        return;
    }
    const RECT rect = skin::RectInClient(hwnd, parent);
    HDC dc = skin::SurfaceDc(surface);
    if (dc == nullptr) {
        return;
    }
    if (clearSource_) {
        ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 clearSource_.get(), rect.left, rect.top, SRCCOPY);
    }
    {
        Gdiplus::Graphics graphics(dc);
        skin::DrawAtlas(graphics, background, rect);
        if (hoveredRegion >= 1 && hoveredRegion <= skin::kBarRegionCount) {
            RECT box{};
            ::GetRgnBox(regions[static_cast<size_t>(hoveredRegion - 1)].get(), &box);
            ::OffsetRect(&box, rect.left, rect.top);
            skin::DrawAtlas(graphics, highlight, box);
        }
    }
    skin::RequestPresent(parent);
}

void CHListBtnBar::DrawItem(const DRAWITEMSTRUCT&) {
    Redraw();
}

void CHListBtnBar::OnRegionClick(int x, int y) {
    const int region = RegionAt(x, y);
    if (region != 0) {
        ::PostMessageW(::GetParent(GetSafeHwnd()), WM_APP_NAVIGATE,
                       static_cast<WPARAM>(skin::BarRegionCode(region)), 0);
    }
}

LRESULT CHListBtnBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
        case WM_MOUSEMOVE: {
            // Outside every button the last one stays lit until the pointer leaves the bar.
            if (const int region = RegionAt(x, y); region != 0) {
                hoveredRegion = region;
                ::SetCursor(handCursor);
            }
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            TrackMouseHoverAndLeave();
            return result;
        }
        case WM_MOUSEHOVER:
            Redraw();
            return 1;
        case WM_MOUSELEAVE:
            hoveredRegion = 0;
            Redraw();
            return 1;
        case WM_LBUTTONDOWN:
            Redraw();
            OnRegionClick(x, y);
            return 0;
        case WM_LBUTTONUP:
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        default:
            break;
    }
    return fw::CStatic::WindowProc(msg, wParam, lParam);
}
