// Thin drawing helpers over GDI+ shared by the skinned dialogs, controls and pages, and the
// placement helpers that turn a window into main-window client coordinates.
#pragma once

#include <windows.h>

// GDI+ headers expect min/max from somewhere; NOMINMAX keeps windows.h from defining them.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

class SkinSurface;

namespace skin {

// Width and height as GDI+ reports them: 0 for a null image or on failure (the failure stays
// recorded as the image's last status).
int ImageWidth(Gdiplus::Image* image);
int ImageHeight(Gdiplus::Image* image);
// Reads (and so resets) the image's last status: true when it was Ok. False for null.
bool ImageStatusOk(Gdiplus::Image* image);

// Draws the source rectangle of an image into the destination; nothing for a null image. A
// failure is left as the Graphics object's last status.
void DrawImagePart(Gdiplus::Graphics& graphics, Gdiplus::Image* image,
                   const Gdiplus::RectF& destination, int sourceX, int sourceY, int sourceWidth,
                   int sourceHeight);
// Draws the image 1:1 from its top-left corner into (x, y, width, height): larger images are
// cropped, never scaled.
void DrawImageAt(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y, int width,
                 int height);
// Draws the part of an atlas image under a rectangle: the rectangle is both source and target.
void DrawAtlas(Gdiplus::Graphics& graphics, Gdiplus::Image* atlas, const RECT& rect);
// Draws text at a point: no layout box, no wrapping, no string format.
void DrawTextAt(Gdiplus::Graphics& graphics, const wchar_t* text, int length,
                const Gdiplus::Font& font, const Gdiplus::Brush& brush, float x, float y);

// The window's rectangle in the client coordinates of another window.
RECT RectInClient(HWND window, HWND reference);
// The application's main window: the application object's, or else the window's top-level one.
HWND ApplicationMainWindow(HWND window);
// Asks a window to present the surface (sent, so the screen is current on return).
LRESULT RequestPresent(HWND target);

// Turns a static or button control into its owner-draw type (the type bits are replaced, so a
// template may give either class); other styles are kept.
void MakeOwnerDraw(HWND control, LONG_PTR extraStyle = 0);

// The surface's DC, or null when there is no surface to draw into.
HDC SurfaceDc(const SkinSurface* surface);

}  // namespace skin
