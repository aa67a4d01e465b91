// The navigation picture: one window with four rectangular hot regions; clicking a region posts
// its navigation code (1-4) to the parent.
#pragma once

#include <array>

#include "skin/HotRegionControl.h"

class CBigButton : public CHotRegionControl {
  public:
    CBigButton();

    // Copies the four hot regions (client coordinates).
    void SetRegions(const RECT& region1, const RECT& region2, const RECT& region3,
                    const RECT& region4);
    int RegionAt(POINT point) const override;

    std::array<RECT, 4> regions{};

  protected:
    void PreSubclassWindow() override;
    RECT RegionBox(int region) const override;
    skin::NavigationCode RegionCode(int region) const override;
    bool OnLButtonDown(UINT keys, POINT point) override;
};
