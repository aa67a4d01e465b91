// One drawing of a skinned element into the shared surface: the checks every element makes
// before it draws, its rectangle in the surface's coordinates (the client coordinates of the
// window that presents the surface), a GDI+ Graphics on the surface for the drawing's length,
// and the presentation request once the Graphics is gone.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/GdiplusFwd.h"

class SkinSurface;

namespace skin {

// Whose client coordinates the surface uses for a window, and who presents it.
enum class Origin {
    Parent,      // direct children of the main window and pages
    MainWindow,  // controls, wherever they sit: the application's main window
};
// What must be visible for the element to draw.
enum class Visible { Always, Window, Parent };
enum class Present { No, AtEnd };

class SkinCanvas {
  public:
    // A window's drawing. Nothing is drawn (the canvas is false) without a window, without a
    // window to present to, without a surface, or while what `visible` names is hidden.
    SkinCanvas(SkinSurface* surface, HWND window, Origin origin, Visible visible, Present present);
    // A window-less element's drawing at a rectangle already in the surface's coordinates.
    SkinCanvas(SkinSurface* surface, const RECT& rect, HWND presenter, Present present);
    ~SkinCanvas();
    SkinCanvas(const SkinCanvas&) = delete;
    SkinCanvas& operator=(const SkinCanvas&) = delete;

    explicit operator bool() const { return graphics_ != nullptr; }
    // Only while the canvas is true.
    Gdiplus::Graphics& graphics() const { return *graphics_; }
    const RECT& rect() const { return rect_; }
    // Makes the element's rectangle fully transparent.
    void Clear();
    // Ends the drawing now and presents when asked to; the presenter's answer, 0 when nothing
    // was presented.
    LRESULT Finish();

  private:
    void Open(SkinSurface* surface, const RECT& rect, HWND presenter);

    SkinSurface* surface_ = nullptr;
    RECT rect_{};
    HWND presenter_ = nullptr;
    Present present_;
    std::unique_ptr<Gdiplus::Graphics> graphics_;
};

}  // namespace skin
