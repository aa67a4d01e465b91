#include "skin/BmButton.h"

#include <vector>

#include "skin/SkinCanvas.h"
#include "skin/SkinPaint.h"
#include "skin/core/ButtonFace.h"

namespace {

// The time dimension of animated images.
const GUID kFrameDimensionTime = {
    0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

}  // namespace

CBmButton::~CBmButton() {
    StopAnimation();
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
    if (!shown) {
        return;
    }
    skin::SkinCanvas canvas(surface, GetSafeHwnd(), skin::Origin::MainWindow, skin::Visible::Parent,
                            skin::Present::AtEnd);
    if (canvas) {
        const RECT& rect = canvas.rect();
        skin::DrawImageAt(canvas.graphics(), CurrentImage(), rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top);
    }
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

void CBmButton::StopAnimation() {
    if (HWND hwnd = GetSafeHwnd()) {
        ::KillTimer(hwnd, kTimerAnimation);
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

void CBmButton::ShowState() {
    ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
    Redraw();
}

bool CBmButton::Press(bool down) {
    // A button that is not shown ignores the mouse altogether.
    if (shown) {
        pressed = down;
        Default();  // the press captures the mouse; the release reports the click
        ShowState();
    }
    return true;
}

bool CBmButton::OnLButtonDown(UINT, POINT) {
    return Press(true);
}

bool CBmButton::OnLButtonUp(UINT, POINT) {
    return Press(false);
}

bool CBmButton::OnMouseMove(UINT, POINT) {
    if (shown) {
        Default();
        if (!tracking) {
            tracking = TrackMouseHoverAndLeave() != FALSE;
        }
    }
    return true;
}

bool CBmButton::OnMouseHover(UINT, POINT) {
    hover = true;
    ShowState();
    return true;
}

bool CBmButton::OnMouseLeave() {
    hover = false;
    tracking = false;
    ShowState();
    return true;
}

bool CBmButton::OnTimer(UINT_PTR id) {
    if (id != kTimerAnimation) {
        return false;
    }
    OnAnimationTick();
    return true;
}

bool CBmButton::OnSetText(const wchar_t* text) {
    caption = text != nullptr ? text : L"";
    ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
    return true;
}

bool CBmButton::OnEnable(bool) {
    Default();
    ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
    return true;
}
