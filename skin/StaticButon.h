// A row picture with a tick mark at its right end; clicking the mark toggles it. The owner reads
// `toggled` and presents after Draw().
#pragma once

#include "skin/GdiplusFwd.h"
#include "skin/SkinControl.h"

class CStaticButon : public skin::SkinControl<fw::CStatic> {
  public:
    CStaticButon() = default;

    void AttachSurface(SkinSurface* target) { surface = target; }
    // Draws the row and the mark's current face into the surface; presents nothing.
    void Draw();
    // Places the mark 65 pixels left of the right edge, 2 below the top.
    void LayOutMark();

    Gdiplus::Image* background = nullptr;
    Gdiplus::Image* markImage = nullptr;
    Gdiplus::Image* markHoverImage = nullptr;
    Gdiplus::Image* markToggledImage = nullptr;
    bool toggled = false;
    bool hover = false;
    int tracking = 0;
    RECT markRect{};
    SkinSurface* surface = nullptr;

  protected:
    void PreSubclassWindow() override;
    bool OnSize(UINT type, int width, int height) override;
    bool OnLButtonDown(UINT keys, POINT point) override;
    bool OnMouseMove(UINT keys, POINT point) override;
    bool OnMouseLeave() override;
    bool OnMouseHover(UINT keys, POINT point) override;

  private:
    void Paint(skin::Present present);
};
