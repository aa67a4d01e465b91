#include "skin/SkinPaint.h"

#include "skin/SkinImages.h"

namespace skin {

int ImageWidth(Gdiplus::Image* image) {
    int width = 0;
    int height = 0;
    return SkinImageSize(image, width, height) ? width : 0;
}

int ImageHeight(Gdiplus::Image* image) {
    int width = 0;
    int height = 0;
    return SkinImageSize(image, width, height) ? height : 0;
}

bool ImageStatusOk(Gdiplus::Image* image) {
    Gdiplus::Image* decoded = DecodedSkinImage(image);
    return decoded != nullptr && decoded->GetLastStatus() == Gdiplus::Ok;
}

void DrawImagePart(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& destination,
                   int sourceX, int sourceY, int sourceWidth, int sourceHeight) {
    image = DecodedSkinImage(image);
    if (image == nullptr) {
        return;
    }
    const Gdiplus::RectF target(static_cast<Gdiplus::REAL>(destination.left),
                                static_cast<Gdiplus::REAL>(destination.top),
                                static_cast<Gdiplus::REAL>(destination.right - destination.left),
                                static_cast<Gdiplus::REAL>(destination.bottom - destination.top));
    graphics.DrawImage(image, target, static_cast<Gdiplus::REAL>(sourceX),
                       static_cast<Gdiplus::REAL>(sourceY), static_cast<Gdiplus::REAL>(sourceWidth),
                       static_cast<Gdiplus::REAL>(sourceHeight), Gdiplus::UnitPixel);
}

void DrawImageAt(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y, int width,
                 int height) {
    DrawImagePart(graphics, image, RECT{x, y, x + width, y + height}, 0, 0, width, height);
}

void DrawWholeImage(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y) {
    DrawImageAt(graphics, image, x, y, ImageWidth(image), ImageHeight(image));
}

void DrawAtlas(Gdiplus::Graphics& graphics, Gdiplus::Image* atlas, const RECT& rect) {
    DrawImagePart(graphics, atlas, rect, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
}

void DrawTextAt(Gdiplus::Graphics& graphics, const wchar_t* text, int length,
                const Gdiplus::Font& font, const Gdiplus::Brush& brush, float x, float y) {
    if (text == nullptr) {
        return;
    }
    graphics.DrawString(text, length, &font, Gdiplus::PointF(x, y), &brush);
}

}  // namespace skin
