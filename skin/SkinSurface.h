// The main window's off-screen picture: an 800 x 328, 32-bit DIB section with per-pixel alpha,
// selected into its own memory DC. Pages and controls draw into it; the window presents it.
#pragma once

#include <windows.h>

#include "framework/Handles.h"

class SkinSurface {
  public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 328;

    SkinSurface() = default;
    SkinSurface(const SkinSurface&) = delete;
    SkinSurface& operator=(const SkinSurface&) = delete;

    // Creates (or re-creates) the all-zero surface compatible with the window's screen DC (the
    // screen's for a null window). False, and no surface, when there is no DC or the section
    // cannot be made.
    bool Create(HWND window);
    void Reset();

    explicit operator bool() const { return dc_ && bitmap_; }
    // The memory DC to draw into; null when there is no surface.
    HDC GetDC() const { return dc_.get(); }
    // Pixel (BGRA, premultiplied alpha) at a point; 0 outside the surface.
    DWORD Pixel(int x, int y) const;
    // Sets every pixel of a rectangle (clipped to the surface) to one BGRA value.
    void Fill(const RECT& rect, DWORD bgra);
    // Makes a rectangle fully transparent.
    void Clear(const RECT& rect) { Fill(rect, 0); }
    // Takes every pixel of another surface; false when either has none.
    bool CopyFrom(const SkinSurface& other);

    // Copies the top-left area of the given size to a DC (the non-layered paint path).
    void PaintTo(HDC target, int width, int height) const;
    // Pushes the whole surface to a layered window with per-pixel alpha (UpdateLayeredWindow).
    bool PresentLayered(HWND window) const;

  private:
    // Declared before the DC so that the DC (which holds it selected) goes first.
    fw::DibSection bitmap_;
    fw::MemoryDc dc_;
};
