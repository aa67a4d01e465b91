#include "skin/SkinPaint.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"
#include "skin/SkinSurface.h"

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

void DrawImagePart(Gdiplus::Graphics& graphics, Gdiplus::Image* image,
                   const Gdiplus::RectF& destination, int sourceX, int sourceY, int sourceWidth,
                   int sourceHeight) {
    image = DecodedSkinImage(image);
    if (image == nullptr) {
        return;
    }
    graphics.DrawImage(image, destination, static_cast<Gdiplus::REAL>(sourceX),
                       static_cast<Gdiplus::REAL>(sourceY), static_cast<Gdiplus::REAL>(sourceWidth),
                       static_cast<Gdiplus::REAL>(sourceHeight), Gdiplus::UnitPixel);
}

void DrawImageAt(Gdiplus::Graphics& graphics, Gdiplus::Image* image, int x, int y, int width,
                 int height) {
    const Gdiplus::RectF destination(static_cast<Gdiplus::REAL>(x), static_cast<Gdiplus::REAL>(y),
                                     static_cast<Gdiplus::REAL>(width),
                                     static_cast<Gdiplus::REAL>(height));
    DrawImagePart(graphics, image, destination, 0, 0, width, height);
}

void DrawAtlas(Gdiplus::Graphics& graphics, Gdiplus::Image* atlas, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const Gdiplus::RectF destination(
        static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
        static_cast<Gdiplus::REAL>(width), static_cast<Gdiplus::REAL>(height));
    DrawImagePart(graphics, atlas, destination, rect.left, rect.top, width, height);
}

void DrawTextAt(Gdiplus::Graphics& graphics, const wchar_t* text, int length,
                const Gdiplus::Font& font, const Gdiplus::Brush& brush, float x, float y) {
    if (text == nullptr) {
        return;
    }
    graphics.DrawString(text, length, &font, Gdiplus::PointF(x, y), &brush);
}

RECT RectInClient(HWND window, HWND reference) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) {
        return RECT{};
    }
    ::MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND ApplicationMainWindow(HWND window) {
    if (fw::CWinApp* app = fw::CWinApp::Current()) {
        if (fw::CWnd* main = app->mainWindow()) {
            if (HWND hwnd = main->GetSafeHwnd()) {
                return hwnd;
            }
        }
    }
    return window != nullptr ? ::GetAncestor(window, GA_ROOT) : nullptr;
}

LRESULT RequestPresent(HWND target) {
    if (target == nullptr) {
        return 0;
    }
    return ::SendMessageW(target, WM_APP_REFRESH_LAYER, 0, 0);
}

void MakeOwnerDraw(HWND control, LONG_PTR extraStyle) {
    if (control == nullptr) {
        return;
    }
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE) | extraStyle;
    if (::lstrcmpiW(className, L"Button") == 0) {
        style = (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW;
    } else {
        style = (style & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | SS_OWNERDRAW;
    }
    ::SetWindowLongPtrW(control, GWL_STYLE, style);
}

HDC SurfaceDc(const SkinSurface* surface) {
    return surface != nullptr ? surface->GetDC() : nullptr;
}

}  // namespace skin
