// The button bar at the bottom left of the main window: five tilted buttons along a curve.
// Hovering one highlights it; clicking posts its navigation code (5-9) to the parent.
#pragma once

#include <array>

#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"

class CHListBtnBar : public fw::CStatic {
  public:
    CHListBtnBar();

    // Stores the surface; with a surface, prepares the clearing source and redraws.
    void AttachSurface(SkinSurface* target);
    // Clears the bar's rectangle, draws the background atlas and the hovered button's highlight,
    // then presents.
    void Redraw();
    // Number (1-5) of the first region containing a client point, 0 for none.
    int RegionAt(int x, int y) const;

    int hoveredRegion = 0;
    Gdiplus::Image* background = nullptr;
    Gdiplus::Image* highlight = nullptr;
    std::array<fw::Region, 5> regions;
    SkinSurface* surface = nullptr;
    HCURSOR handCursor;

  protected:
    void PreSubclassWindow() override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Posts the code of the first region containing the point; nothing outside all regions.
    virtual void OnRegionClick(int x, int y);

  private:
    // An all-zero copy of the surface's format, used to make the bar's area transparent.
    fw::DibSection clearBits_;
    fw::MemoryDc clearSource_;
};
