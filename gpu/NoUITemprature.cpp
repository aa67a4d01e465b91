#include "gpu/NoUITemprature.h"

#include <cwchar>
#include <iterator>

#include "skin/AppMessages.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"
#include "skin/core/GaugeGeometry.h"

namespace {

constexpr Gdiplus::REAL kTemperatureFontPx = 18.0f;
constexpr Gdiplus::REAL kClockFontPx = 12.0f;
constexpr Gdiplus::ARGB kTemperatureColour = 0xFFFF0000;
constexpr Gdiplus::ARGB kClockColour = 0xFFFFFFFF;

}  // namespace

struct NoUITemprature::Fonts {
    Gdiplus::FontFamily family{skin::kFontFamily};
    Gdiplus::Font temperature{&family, kTemperatureFontPx, Gdiplus::FontStyleRegular,
                              Gdiplus::UnitPixel};
    Gdiplus::Font clock{&family, kClockFontPx, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel};
};

NoUITemprature::NoUITemprature() : needleImage(FindSkinImage(L"CLOCK_TIP")) {}

NoUITemprature::~NoUITemprature() = default;

void NoUITemprature::Redraw() {
    if (!fullDisplay) {
        return;
    }
    if (background != nullptr) {
        DrawReadout();
    }
    if (needleImage != nullptr) {
        DrawNeedle();
    }
    skin::RequestPresent(owner);
}

void NoUITemprature::DrawReadout() {
    HDC dc = skin::SurfaceDc(surface);
    if (dc == nullptr) {
        return;
    }
    Gdiplus::Graphics graphics(dc);
    skin::DrawAtlas(graphics, background, rect);

    if (!fonts_) {
        fonts_ = std::make_unique<Fonts>();
    }
    Gdiplus::SolidBrush red{Gdiplus::Color{kTemperatureColour}};
    Gdiplus::SolidBrush white{Gdiplus::Color{kClockColour}};

    wchar_t temperatureText[32];
    wchar_t clockText[32];
    const int temperatureLength =
        std::swprintf(temperatureText, std::size(temperatureText), L"%d℃", temperature);
    const int clockLength = std::swprintf(clockText, std::size(clockText), L"GPU:%dMhz", clockMHz);
    const auto left = static_cast<float>(rect.left);
    const auto top = static_cast<float>(rect.top);
    if (clockLength > 0) {
        skin::DrawTextAt(graphics, clockText, clockLength, fonts_->clock, white, left + 34,
                         top + 132);
    }
    if (temperatureLength > 0) {
        skin::DrawTextAt(graphics, temperatureText, temperatureLength, fonts_->temperature, red,
                         left + 52, top + 80);
    }
}

void NoUITemprature::DrawNeedle() {
    HDC dc = skin::SurfaceDc(surface);
    if (dc == nullptr || needleImage == nullptr) {
        return;
    }
    const auto corners = skin::NeedlePoints({rect.left, rect.top, rect.right, rect.bottom},
                                            skin::ImageWidth(needleImage),
                                            skin::ImageHeight(needleImage), temperature);
    Gdiplus::Point points[3];
    for (size_t i = 0; i < corners.size(); ++i) {
        points[i] = Gdiplus::Point(corners[i].x, corners[i].y);
    }
    Gdiplus::Image* needle = DecodedSkinImage(needleImage);
    if (needle == nullptr) {
        return;
    }
    Gdiplus::Graphics graphics(dc);
    graphics.DrawImage(needle, points, 3);
}
