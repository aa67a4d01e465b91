#include "skin/BmButton.h"

#include <vector>

#include "skin/core/ButtonFace.h"

namespace {

// The time dimension of animated images.
const GUID kFrameDimensionTime = {
    0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

}  // namespace

CBmButton::~CBmButton() {
    if (HWND hwnd = GetSafeHwnd()) {
        ::KillTimer(hwnd, kTimerAnimation);
    }
}

void CBmButton::PreSubclassWindow() {
    HWND hwnd = GetSafeHwnd();
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    caption = std::move(text);
    skin::MakeOwnerDraw(hwnd);
}

Gdiplus::Image* CBmButton::CurrentImage() const {
    const skin::ButtonState state{animated, toggled, pressed, hover};
    switch (skin::ChooseButtonFace(state, pressedImage != nullptr)) {
        case skin::ButtonFace::Hover:
            return hoverImage;
        case skin::ButtonFace::Toggled:
            return toggledImage;
        case skin::ButtonFace::Pressed:
            return pressedImage;
        case skin::ButtonFace::Normal:
            break;
    }
    return normalImage;
}

void CBmButton::Redraw() {
    HWND hwnd = GetSafeHwnd();
    if (!shown || hwnd == nullptr) {
        return;
    }
    HWND parent = ::GetParent(hwnd);
    if (parent == nullptr || !::IsWindowVisible(parent)) {
        return;
    }
    HWND mainWindow = skin::ApplicationMainWindow(hwnd);
    const RECT rect = skin::RectInClient(hwnd, mainWindow);
    HDC dc = skin::SurfaceDc(surface);
    if (dc == nullptr) {
        return;
    }
    {
        Gdiplus::Graphics graphics(dc);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        skin::DrawImagePart(
            graphics, CurrentImage(),
            Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left),
                           static_cast<Gdiplus::REAL>(rect.top), static_cast<Gdiplus::REAL>(width),
                           static_cast<Gdiplus::REAL>(height)),
            0, 0, width, height);
    }
    skin::RequestPresent(mainWindow);
}

void CBmButton::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hDC == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(GetSafeHwnd(), &client);
    Gdiplus::Graphics graphics(item.hDC);
    skin::DrawImageAt(graphics, CurrentImage(), client.left, client.top, client.right - client.left,
                      client.bottom - client.top);
}

void CBmButton::StartAnimation() {
    if (!skin::ImageStatusOk(hoverImage)) {
        return;
    }
    frameIndex = 0;
    ::SetTimer(GetSafeHwnd(), kTimerAnimation, kAnimationPeriodMs, nullptr);
    const UINT dimensions = hoverImage->GetFrameDimensionsCount();
    frameCount = 0;
    if (dimensions > 0) {
        std::vector<GUID> ids(dimensions);
        if (hoverImage->GetFrameDimensionsList(ids.data(), dimensions) == Gdiplus::Ok) {
            frameCount = hoverImage->GetFrameCount(&ids[0]);
        }
    }
}

void CBmButton::OnAnimationTick() {
    if (!::IsWindowVisible(GetSafeHwnd()) || hoverImage == nullptr) {
        return;
    }
    frameIndex += 1;
    if (frameIndex >= frameCount) {
        frameIndex = 0;
    }
    hoverImage->SelectActiveFrame(&kFrameDimensionTime, frameIndex);
    Redraw();
}

void CBmButton::Invalidate() {
    ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
}

LRESULT CBmButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN: {
            if (!shown) {
                return 0;
            }
            pressed = true;
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            Invalidate();
            Redraw();
            return result;
        }
        case WM_LBUTTONUP: {
            if (!shown) {
                return 0;
            }
            pressed = false;
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            Invalidate();
            Redraw();
            return result;
        }
        case WM_MOUSEMOVE: {
            if (!shown) {
                return 0;
            }
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            if (!tracking) {
                tracking = TrackMouseHoverAndLeave() != FALSE;
            }
            return result;
        }
        case WM_MOUSEHOVER:
            hover = true;
            Invalidate();
            Redraw();
            return 1;
        case WM_MOUSELEAVE:
            hover = false;
            tracking = false;
            Invalidate();
            Redraw();
            return 1;
        case WM_TIMER:
            if (wParam == kTimerAnimation) {
                OnAnimationTick();
                return 0;
            }
            break;
        case WM_SETTEXT: {
            const auto* text = reinterpret_cast<const wchar_t*>(lParam);
            caption = text != nullptr ? text : L"";
            Invalidate();
            return TRUE;
        }
        case WM_ENABLE: {
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            Invalidate();
            return result;
        }
        case WM_ERASEBKGND:
            return TRUE;
        default:
            break;
    }
    return fw::CButton::WindowProc(msg, wParam, lParam);
}
