#include "skin/HListBtnBar.h"

#include "skin/SkinWindow.h"
#include "skin/core/ButtonBarRegions.h"

// The atlas under the bar has soft edges: each drawing starts from a transparent rectangle.
CHListBtnBar::CHListBtnBar() : CHotRegionControl(true) {
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

int CHListBtnBar::RegionAt(POINT point) const {
    for (size_t i = 0; i < regions.size(); ++i) {
        if (regions[i] && ::PtInRegion(regions[i].get(), point.x, point.y)) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

RECT CHListBtnBar::RegionBox(int region) const {
    RECT box{};
    if (region >= 1 && region <= skin::kBarRegionCount) {
        ::GetRgnBox(regions[static_cast<size_t>(region - 1)].get(), &box);
    }
    return box;
}

skin::NavigationCode CHListBtnBar::RegionCode(int region) const {
    return skin::BarRegionCode(region);
}

int CHListBtnBar::HoverAfterMove(int region) const {
    return region != 0 ? region : hoveredRegion;
}

bool CHListBtnBar::OnLButtonDown(UINT, POINT point) {
    Redraw();
    OnRegionClick(point);
    return true;
}

bool CHListBtnBar::OnLButtonUp(UINT, POINT) {
    return true;
}
