#include "skin/BigButton.h"

#include "skin/SkinWindow.h"
#include "skin/core/ButtonBarRegions.h"

CBigButton::CBigButton() : CHotRegionControl(false) {}

void CBigButton::SetRegions(const RECT& region1, const RECT& region2, const RECT& region3,
                            const RECT& region4) {
    regions = {region1, region2, region3, region4};
}

int CBigButton::RegionAt(POINT point) const {
    std::array<skin::IntRect, skin::kCrossRegionCount> rects;
    for (size_t i = 0; i < rects.size(); ++i) {
        rects[i] = {regions[i].left, regions[i].top, regions[i].right, regions[i].bottom};
    }
    return skin::FirstRegionAt(rects, point.x, point.y);
}

RECT CBigButton::RegionBox(int region) const {
    if (region < 1 || region > skin::kCrossRegionCount) {
        return RECT{};
    }
    return regions[static_cast<size_t>(region - 1)];
}

skin::NavigationCode CBigButton::RegionCode(int region) const {
    return skin::CrossRegionCode(region);
}

void CBigButton::PreSubclassWindow() {
    skin::MakeOwnerDraw(GetSafeHwnd());
}

bool CBigButton::OnLButtonDown(UINT, POINT point) {
    Default();
    OnRegionClick(point);
    return true;
}
