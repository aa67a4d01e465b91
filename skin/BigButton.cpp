#include "skin/BigButton.h"

#include "skin/AppMessages.h"
#include "skin/core/ButtonBarRegions.h"

namespace {

skin::IntRect ToIntRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

// The shared system cursor: never destroyed.
CBigButton::CBigButton() : handCursor(::LoadCursorW(nullptr, IDC_HAND)) {}

void CBigButton::SetRegions(const RECT& region1, const RECT& region2, const RECT& region3,
                            const RECT& region4) {
    regions = {region1, region2, region3, region4};
}

void CBigButton::AttachSurface(SkinSurface* target) {
    surface = target;
    if (surface != nullptr) {
        Redraw();
    }
}

int CBigButton::RegionAt(POINT point) const {
    std::array<skin::IntRect, 4> rects;
    for (size_t i = 0; i < rects.size(); ++i) {
        rects[i] = ToIntRect(regions[i]);
    }
    return skin::FirstRegionAt(rects, point.x, point.y);
}

void CBigButton::PreSubclassWindow() {
    skin::MakeOwnerDraw(GetSafeHwnd());
}

void CBigButton::Redraw() {
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
    {
        Gdiplus::Graphics graphics(dc);
        skin::DrawAtlas(graphics, background, rect);
        if (hoveredRegion >= 1 && hoveredRegion <= 4) {
            RECT hot = regions[static_cast<size_t>(hoveredRegion - 1)];
            ::OffsetRect(&hot, rect.left, rect.top);
            skin::DrawAtlas(graphics, highlight, hot);
        }
    }
    skin::RequestPresent(parent);
}

void CBigButton::DrawItem(const DRAWITEMSTRUCT&) {
    Redraw();
}

void CBigButton::OnRegionClick(POINT point) {
    const int region = RegionAt(point);
    if (region != 0) {
        ::PostMessageW(::GetParent(GetSafeHwnd()), WM_APP_NAVIGATE, static_cast<WPARAM>(region), 0);
    }
}

LRESULT CBigButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
        case WM_MOUSEMOVE: {
            hoveredRegion = RegionAt(point);
            if (hoveredRegion != 0) {
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
        case WM_LBUTTONDOWN: {
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            OnRegionClick(point);
            return result;
        }
        case WM_ERASEBKGND:
            return TRUE;
        default:
            break;
    }
    return fw::CStatic::WindowProc(msg, wParam, lParam);
}
