// Base of the top-level skinned dialog: owns the off-screen surface every page and control draws
// into, and the window background drawn under everything.
#pragma once

#include "framework/Dialog.h"
#include "skin/GdiplusFwd.h"
#include "skin/SkinSurface.h"

class CSkinDialog : public fw::CDialog {
  public:
    explicit CSkinDialog(UINT templateId);

    // Replaces the whole picture with the background, drawn at (0, 0) at its own size, when it
    // is set and in good state; everything else must then draw again. Presents nothing.
    void DrawBackground();
    // Draws a picture that will become the background later into a surface of its own, so that
    // DrawBackground then copies its pixels instead of drawing it (idle-time work: the copy
    // costs a fraction of the draw). One picture is kept.
    void PrepareBackground(Gdiplus::Image* picture);

    // Swallows Enter, Esc and Space addressed to the focused window.
    BOOL PreTranslateMessage(MSG* msg) override;

    SkinSurface surface;
    Gdiplus::Image* background = nullptr;

  protected:
    // Creates the surface as soon as the dialog window exists (before WM_INITDIALOG).
    void PreSubclassWindow() override;
    // Drops the client edge; with a good background, sizes the window to 800 x 328 and draws
    // the background.
    BOOL OnInitDialog() override;
    // Copies the surface to the window (used when the window is not layered).
    bool OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    // Default processing, then the dialog takes the keyboard focus.
    bool OnLButtonDown(UINT keys, POINT point) override;
    // A window that hides takes every control out of its hover state first.
    bool OnShowWindow(bool shown, UINT status) override;

  private:
    SkinSurface prepared_;
    Gdiplus::Image* preparedPicture_ = nullptr;
};
