// A static control drawn from an atlas with hot regions: the hovered region is lit from a second
// atlas, and a click on a region posts its navigation code to the parent. The navigation cross
// and the button bar are the two kinds; they differ in the shape of their regions.
#pragma once

#include "framework/Wnd.h"
#include "skin/SkinControl.h"
#include "skin/GdiplusFwd.h"
#include "skin/core/NavigationCode.h"

class SkinSurface;

class CHotRegionControl : public skin::SkinControl<fw::CStatic> {
  public:
    // Stores the surface and redraws when it is not null.
    void AttachSurface(SkinSurface* target);
    // Draws the background atlas under the control and the highlight over the hovered region's
    // box, then presents.
    void Redraw();
    // Number (1-based) of the first region containing a client point, 0 for none.
    virtual int RegionAt(POINT point) const = 0;

    int hoveredRegion = 0;
    Gdiplus::Image* background = nullptr;
    Gdiplus::Image* highlight = nullptr;
    SkinSurface* surface = nullptr;
    HCURSOR handCursor;

  protected:
    // clearsFirst: the control's rectangle is made transparent before the atlas is drawn.
    explicit CHotRegionControl(bool clearsFirst);

    // The bounding box of region 1.. (client coordinates); empty for any other number.
    virtual RECT RegionBox(int region) const = 0;
    virtual skin::NavigationCode RegionCode(int region) const = 0;
    // The region that stays lit after a move over `region` (0 outside every region).
    virtual int HoverAfterMove(int region) const { return region; }
    // Posts the code of the first region containing the point; nothing outside all regions.
    virtual void OnRegionClick(POINT point);

    void DrawItem(const DRAWITEMSTRUCT& item) override;
    bool OnMouseMove(UINT keys, POINT point) override;
    bool OnMouseHover(UINT keys, POINT point) override;
    bool OnMouseLeave() override;

  private:
    bool clearsFirst_;
};
