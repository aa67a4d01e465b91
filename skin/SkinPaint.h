// GDI+ for the toolkit's drawing code: the GDI+ headers and thin drawing helpers over them.
// Headers name GDI+ types through skin/GdiplusFwd.h; only .cpp files that draw include this.
#pragma once

#include <windows.h>

// GDI+ headers expect min/max from somewhere; NOMINMAX keeps windows.h from defining them.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "skin/SkinWindow.h"

namespace skin {

// The family every text of the window is drawn in.
inline constexpr wchar_t kFontFamily[] = L"微软雅黑";

// Width and height as GDI+ reports them: 0 for a null image or on failure (the failure stays
// recorded as the image's last status).
int ImageWidth(Gdiplus::Image* image);
int ImageHeight(Gdiplus::Image* image);
// Reads (and so resets) the image's last status: true when it was Ok. False for null.
bool ImageStatusOk(Gdiplus::Image* image);

// Draws the source rectangle of an image into the destination; nothing for a null image. A
// failure is left as the Graphics object's last status.
void DrawImagePart(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& destination,
                   int sourceX, int sourceY, int sourceWidth, int sourceHeight);
// Draws the image 1:1 from its top-left corner into (x, y, width, height): larger images are
// cropped, never scaled.
void DrawImageAt(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y, int width,
                 int height);
// Draws the whole image 1:1 with its top-left corner at (x, y).
void DrawWholeImage(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y);
// Draws the part of an atlas image under a rectangle: the rectangle is both source and target.
void DrawAtlas(Gdiplus::Graphics& graphics, Gdiplus::Image* atlas, const RECT& rect);
// Draws text at a point: no layout box, no wrapping, no string format.
void DrawTextAt(Gdiplus::Graphics& graphics, const wchar_t* text, int length,
                const Gdiplus::Font& font, const Gdiplus::Brush& brush, float x, float y);

}  // namespace skin
