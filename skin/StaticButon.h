// A row picture with a tick mark at its right end; clicking the mark toggles it. The owner reads
// `toggled` and presents after Draw().
#pragma once

#include "framework/Wnd.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"

class CStaticButon : public fw::CStatic {
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
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void DrawAndPresent();
};
