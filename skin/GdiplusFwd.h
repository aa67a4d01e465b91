// The GDI+ types the toolkit's headers name, declared without the GDI+ headers themselves:
// only the .cpp files that draw include those (through skin/SkinPaint.h).
#pragma once

namespace Gdiplus {
class Brush;
class Font;
class Graphics;
class Image;
}  // namespace Gdiplus
