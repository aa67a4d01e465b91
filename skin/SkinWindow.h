// Where a skinned window lies in the surface and who presents it: the placement helpers shared
// by the dialogs, controls and pages (no GDI+ here).
#pragma once

#include <windows.h>

class SkinSurface;

namespace skin {

// The window's rectangle in the client coordinates of another window.
RECT RectInClient(HWND window, HWND reference);
// The application's main window: the application object's, or else the window's top-level one.
HWND ApplicationMainWindow(HWND window);
// Asks a window to present the surface (sent, so the screen is current on return).
LRESULT RequestPresent(HWND target);

// Turns a static or button control into its owner-draw type (the type bits are replaced, so a
// template may give either class); other styles are kept.
void MakeOwnerDraw(HWND control, LONG_PTR extraStyle = 0);
// Adds SS_NOTIFY, so that a static control receives mouse messages.
void AddNotifyStyle(HWND control);

// The surface's DC for drawing anywhere on it, or null when there is no surface to draw into.
HDC SurfaceDc(SkinSurface* surface);

}  // namespace skin
