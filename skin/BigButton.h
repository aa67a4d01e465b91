// The navigation picture: one window with four rectangular hot regions; clicking a region posts
// its number (1-4) to the parent as a navigation request.
#pragma once

#include <array>

#include "framework/Wnd.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"

class CBigButton : public fw::CStatic {
  public:
    CBigButton();

    // Copies the four hot regions (client coordinates).
    void SetRegions(const RECT& region1, const RECT& region2, const RECT& region3,
                    const RECT& region4);
    // Stores the surface and redraws when it is not null.
    void AttachSurface(SkinSurface* target);
    // Draws the background atlas under the control and the highlight over the hovered region,
    // then presents.
    void Redraw();
    // Number (1-4) of the first region containing a client point, 0 for none.
    int RegionAt(POINT point) const;

    int hoveredRegion = 0;
    Gdiplus::Image* background = nullptr;
    Gdiplus::Image* highlight = nullptr;
    std::array<RECT, 4> regions{};
    SkinSurface* surface = nullptr;
    HCURSOR handCursor = nullptr;

  protected:
    void PreSubclassWindow() override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Posts the region's number for a click; nothing outside every region.
    virtual void OnRegionClick(POINT point);
};
