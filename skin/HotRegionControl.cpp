#include "skin/HotRegionControl.h"

#include "skin/AppMessages.h"
#include "skin/SkinCanvas.h"
#include "skin/SkinPaint.h"

// The shared system cursor: never destroyed.
CHotRegionControl::CHotRegionControl(bool clearsFirst)
    : handCursor(::LoadCursorW(nullptr, IDC_HAND)), clearsFirst_(clearsFirst) {}

void CHotRegionControl::AttachSurface(SkinSurface* target) {
    surface = target;
    if (surface != nullptr) {
        Redraw();
    }
}

void CHotRegionControl::Redraw() {
    skin::SkinCanvas canvas(surface, GetSafeHwnd(), skin::Origin::Parent, skin::Visible::Always,
                            skin::Present::AtEnd);
    if (!canvas) {
        return;
    }
    if (clearsFirst_) {
        canvas.Clear();
    }
    skin::DrawAtlas(canvas.graphics(), background, canvas.rect());
    RECT lit = RegionBox(hoveredRegion);
    if (!::IsRectEmpty(&lit)) {
        ::OffsetRect(&lit, canvas.rect().left, canvas.rect().top);
        skin::DrawAtlas(canvas.graphics(), highlight, lit);
    }
}

void CHotRegionControl::OnRegionClick(POINT point) {
    if (const int region = RegionAt(point); region != 0) {
        PostNavigation(::GetParent(GetSafeHwnd()), RegionCode(region));
    }
}

void CHotRegionControl::DrawItem(const DRAWITEMSTRUCT&) {
    Redraw();
}

bool CHotRegionControl::OnMouseMove(UINT, POINT point) {
    const int region = RegionAt(point);
    hoveredRegion = HoverAfterMove(region);
    if (region != 0) {
        ::SetCursor(handCursor);
    }
    Default();
    // Armed on every move; the picture changes on the hover notification, not here.
    TrackMouseHoverAndLeave();
    return true;
}

bool CHotRegionControl::OnMouseHover(UINT, POINT) {
    Redraw();
    return true;
}

bool CHotRegionControl::OnMouseLeave() {
    hoveredRegion = 0;
    Redraw();
    return true;
}
