// The button bar at the bottom left of the main window: five tilted buttons along a curve.
// Hovering one highlights it; clicking posts its navigation code (5-9) to the parent.
#pragma once

#include <array>

#include "framework/Handles.h"
#include "skin/HotRegionControl.h"

class CHListBtnBar : public CHotRegionControl {
  public:
    CHListBtnBar();

    int RegionAt(POINT point) const override;

    std::array<fw::Region, 5> regions;

  protected:
    void PreSubclassWindow() override;
    RECT RegionBox(int region) const override;
    skin::NavigationCode RegionCode(int region) const override;
    // Outside every button the last one stays lit until the pointer leaves the bar.
    int HoverAfterMove(int region) const override;
    bool OnLButtonDown(UINT keys, POINT point) override;
    bool OnLButtonUp(UINT keys, POINT point) override;
};
