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
    // The memory DC to draw into anywhere: the whole surface counts as changed. Null when there
    // is no surface.
    HDC GetDC();
    // The memory DC for a drawing that stays inside `area` (its caller clips to it): only that
    // area counts as changed.
    HDC DrawingDc(const RECT& area);
    // Counts the whole surface as changed, e.g. when the window that shows it was hidden.
    void MarkAllChanged();
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
    // Pushes what changed since the last presentation that succeeded: the area the drawings
    // named when every one named its area, the whole surface otherwise (UpdateLayeredWindow-
    // Indirect with that area as the dirty rectangle). A window other than the last one, or
    // one moved or resized since, gets the whole surface: the system may have dropped what it
    // kept of the picture.
    bool PresentChanged(HWND window);

  private:
    // Presents to the window placed at `rect` (its window rectangle).
    bool Present(HWND window, const RECT& rect, const RECT* dirty) const;
    void MarkChanged(const RECT& area);

    // The union of the areas changed since the last presentation; empty when nothing is known
    // to have changed, which presents the whole surface.
    RECT changed_{};
    // The window the last presentation went to, and where it was.
    HWND presentedTo_ = nullptr;
    RECT presentedAt_{};
    // Declared before the DC so that the DC (which holds it selected) goes first.
    fw::DibSection bitmap_;
    fw::MemoryDc dc_;
};
