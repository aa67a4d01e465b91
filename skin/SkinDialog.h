// Base of the top-level skinned dialog: owns the off-screen surface every page and control draws
// into, and the window background drawn under everything.
#pragma once

#include "framework/Dialog.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"

class CSkinDialog : public fw::CDialog {
  public:
    explicit CSkinDialog(UINT templateId);

    // Draws the whole background at (0, 0) at its own size when it is set and in good state.
    // Presents nothing.
    void DrawBackground();

    // Swallows Enter, Esc and Space addressed to the focused window.
    BOOL PreTranslateMessage(MSG* msg) override;

    SkinSurface surface;
    Gdiplus::Image* background = nullptr;

  protected:
    // Creates the surface as soon as the dialog window exists (before WM_INITDIALOG).
    void PreSubclassWindow() override;
    // With a good background: sizes the window to 800 x 328 and draws the background.
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Copies the surface to the window (used when the window is not layered).
    void OnPaint();
};
