#include "skin/HorizSlid.h"

#include <climits>

#include "skin/AppMessages.h"
#include "skin/SkinImages.h"
#include "skin/core/SliderGeometry.h"

namespace {

RECT ToRect(const skin::IntRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

CHorizSlid::CHorizSlid()
    : trackWidth(skin::kFullTrackWidth),
      trackEmptyImage(FindSkinImage(L"CONTROL_B1")),
      trackFilledImage(FindSkinImage(L"CONTROL_B3")),
      trackDisabledImage(FindSkinImage(L"CONTROL_B2")),
      minusImage(FindSkinImage(L"CONTROL_-1")),
      minusHotImage(FindSkinImage(L"CONTROL_-3")),
      minusDisabledImage(FindSkinImage(L"CONTROL_-2")),
      plusImage(FindSkinImage(L"CONTROL_+1")),
      plusHotImage(FindSkinImage(L"CONTROL_+3")),
      plusDisabledImage(FindSkinImage(L"CONTROL_+2")),
      boxImage(FindSkinImage(L"CONTROL_0")),
      digitsImage(FindSkinImage(L"CONTROL__NUM")),
      handCursor(::LoadCursorW(nullptr, IDC_HAND)) {}

CHorizSlid::~CHorizSlid() {
    if (HWND hwnd = GetSafeHwnd()) {
        ::KillTimer(hwnd, kTimerStepUp);
        ::KillTimer(hwnd, kTimerStepDown);
    }
}

void CHorizSlid::PreSubclassWindow() {
    HWND hwnd = GetSafeHwnd();
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) | SS_NOTIFY);
}

void CHorizSlid::AttachSurface(SkinSurface* target) {
    surface = target;
    LayOutButtons();
}

void CHorizSlid::UseCompactTrack() {
    trackWidth = skin::kCompactTrackWidth;
    LayOutButtons();
}

void CHorizSlid::LayOutButtons() {
    const skin::SliderButtons buttons = skin::SliderButtonLayout(
        trackWidth, skin::ImageWidth(minusImage), skin::ImageHeight(minusImage),
        skin::ImageWidth(plusImage), skin::ImageHeight(plusImage));
    minusRect = ToRect(buttons.minus);
    plusRect = ToRect(buttons.plus);
}

void CHorizSlid::SetRange(int max, int min, int stepSize) {
    step = stepSize;
    maximum = max;
    minimum = min;
    position = skin::SliderPosition(value, minimum, maximum, trackSteps);
}

void CHorizSlid::SetPos(int newValue) {
    if (newValue > maximum) {
        newValue = maximum;
    } else if (newValue < minimum) {
        newValue = minimum;
    }
    value = newValue;
    position = skin::SliderPosition(value, minimum, maximum, trackSteps);
    if (position < 0) {
        position = 0;
    }
}

void CHorizSlid::StepUp() {
    // Widened so that a step past INT_MAX clamps instead of overflowing.
    const long long raised = static_cast<long long>(value) + step;
    value = raised > maximum ? maximum : static_cast<int>(raised);
    position = skin::SliderPosition(static_cast<int>(raised > INT_MAX ? INT_MAX : raised), minimum,
                                    maximum, trackSteps);
    if (position > trackSteps) {
        position = trackSteps;
    }
    AfterStep();
}

void CHorizSlid::StepDown() {
    const long long lowered = static_cast<long long>(value) - step;
    value = lowered < minimum ? minimum : static_cast<int>(lowered);
    position = skin::SliderPosition(static_cast<int>(lowered < INT_MIN ? INT_MIN : lowered),
                                    minimum, maximum, trackSteps);
    if (position < 0) {
        position = 0;
    }
    AfterStep();
}

void CHorizSlid::AfterStep() {
    Draw();
    Present();
    ::SendMessageW(::GetParent(GetSafeHwnd()), WM_APP_SLIDER_CHANGED, 0, 0);
}

void CHorizSlid::Present() {
    skin::RequestPresent(skin::ApplicationMainWindow(GetSafeHwnd()));
}

void CHorizSlid::Redraw() {
    Draw();
    Present();
}

void CHorizSlid::Draw() {
    HWND hwnd = GetSafeHwnd();
    HDC dc = skin::SurfaceDc(surface);
    if (hwnd == nullptr || dc == nullptr || !::IsWindowVisible(hwnd)) {
        return;
    }
    const RECT rect = skin::RectInClient(hwnd, skin::ApplicationMainWindow(hwnd));
    Gdiplus::Graphics graphics(dc);
    if (enabled) {
        DrawEnabled(graphics, rect.left, rect.top);
    } else {
        DrawDisabled(graphics, rect.left, rect.top);
    }
}

void CHorizSlid::DrawEnabled(Gdiplus::Graphics& graphics, int x, int y) {
    using skin::ImageHeight;
    using skin::ImageWidth;
    Gdiplus::Image* minus = hotPart == 1 ? minusHotImage : minusImage;
    Gdiplus::Image* plus = hotPart == 2 ? plusHotImage : plusImage;
    const int minusWidth = ImageWidth(minusImage);
    skin::DrawImageAt(graphics, minus, x, y + 5, ImageWidth(minus), ImageHeight(minus));
    skin::DrawImageAt(graphics, trackEmptyImage, x + minusWidth, y, trackWidth,
                      ImageHeight(trackEmptyImage));
    skin::DrawImageAt(graphics, plus, x + minusWidth + trackWidth, y + 2, ImageWidth(plus),
                      ImageHeight(plus));
    if (position < 0) {
        return;
    }
    skin::DrawImageAt(graphics, trackFilledImage, x + minusWidth, y,
                      skin::SliderFillWidth(position), ImageHeight(trackFilledImage));
    const int boxX = x + minusWidth + trackWidth + ImageWidth(plusImage);
    skin::DrawImageAt(graphics, boxImage, boxX, y + 3, ImageWidth(boxImage), ImageHeight(boxImage));
    // The box shows the last four digits; the value itself is left as it is.
    const auto digits = skin::SliderBoxDigits(value);
    const int digitHeight = ImageHeight(digitsImage);
    const int boxHeight = ImageHeight(boxImage);
    for (int k = 0; k < 4; ++k) {
        const Gdiplus::RectF destination(
            static_cast<Gdiplus::REAL>(boxX + 1 + skin::kDigitWidth * k),
            static_cast<Gdiplus::REAL>(y + 4), static_cast<Gdiplus::REAL>(skin::kDigitWidth),
            static_cast<Gdiplus::REAL>(boxHeight));
        skin::DrawImagePart(graphics, digitsImage, destination,
                            skin::SliderDigitSourceX(digits[static_cast<size_t>(k)]), 0,
                            skin::kDigitWidth, digitHeight);
    }
}

void CHorizSlid::DrawDisabled(Gdiplus::Graphics& graphics, int x, int y) {
    using skin::ImageHeight;
    using skin::ImageWidth;
    const int minusWidth = ImageWidth(minusImage);
    skin::DrawImageAt(graphics, minusDisabledImage, x, y + 5, ImageWidth(minusDisabledImage),
                      ImageHeight(minusDisabledImage));
    skin::DrawImageAt(graphics, trackDisabledImage, x + minusWidth, y, trackWidth,
                      ImageHeight(trackDisabledImage));
    skin::DrawImageAt(graphics, plusDisabledImage, x + minusWidth + trackWidth, y + 2,
                      ImageWidth(plusDisabledImage), ImageHeight(plusDisabledImage));
    skin::DrawImageAt(graphics, boxImage, x + minusWidth + trackWidth + ImageWidth(plusImage),
                      y + 3, ImageWidth(boxImage), ImageHeight(boxImage));
}

bool CHorizSlid::InTrackArea(POINT point) const {
    const skin::IntRect area = skin::SliderTrackArea(trackWidth, skin::ImageWidth(minusImage),
                                                     skin::ImageHeight(trackEmptyImage));
    return area.contains(point.x, point.y);
}

bool CHorizSlid::ClickTrack(POINT point) {
    if (trackWidth != skin::kFullTrackWidth || !InTrackArea(point)) {
        return false;
    }
    const int segment = skin::SliderTrackSegment(point.x, skin::ImageWidth(minusImage));
    const auto chosen = skin::SliderValueForSegment(segment, minimum, maximum, step, trackSteps);
    if (!chosen) {
        return false;
    }
    position = segment;
    value = *chosen;
    Draw();
    Present();
    ::SendMessageW(::GetParent(GetSafeHwnd()), WM_APP_SLIDER_CHANGED, 0, 0);
    return true;
}

void CHorizSlid::OnMouseMove(POINT point) {
    const int previous = hotPart;
    bool overTrack = false;
    if (::PtInRect(&minusRect, point)) {
        hotPart = 1;
    } else if (::PtInRect(&plusRect, point)) {
        hotPart = 2;
    } else {
        overTrack = trackWidth == skin::kFullTrackWidth && InTrackArea(point);
        if (overTrack) {
            ::SetCursor(handCursor);
        }
        hotPart = 0;
    }
    // Any change of the hot button redraws, also when the pointer slides from a button straight
    // onto the track, so no button keeps a stale hot face.
    if (hotPart != previous) {
        Redraw();
    } else if (tracking == 0) {
        tracking = TrackMouseHoverAndLeave();
    }
}

LRESULT CHorizSlid::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    HWND hwnd = GetSafeHwnd();
    switch (msg) {
        case WM_LBUTTONDOWN:
            if (!enabled) {
                return 0;
            }
            if (::PtInRect(&plusRect, point)) {
                ::SetCapture(hwnd);
                StepUp();
                ::SetTimer(hwnd, kTimerStepUp, kRepeatPeriodMs, nullptr);
            } else if (::PtInRect(&minusRect, point)) {
                ::SetCapture(hwnd);
                StepDown();
                ::SetTimer(hwnd, kTimerStepDown, kRepeatPeriodMs, nullptr);
            } else {
                ClickTrack(point);
            }
            return DefWindowProc(msg, wParam, lParam);
        case WM_LBUTTONUP:
            if (!enabled) {
                return 0;
            }
            ::KillTimer(hwnd, kTimerStepUp);
            ::KillTimer(hwnd, kTimerStepDown);
            ::ReleaseCapture();
            return DefWindowProc(msg, wParam, lParam);
        case WM_LBUTTONDBLCLK:
            if (!enabled) {
                return 0;
            }
            if (::PtInRect(&plusRect, point)) {
                StepUp();
            } else if (::PtInRect(&minusRect, point)) {
                StepDown();
            }
            return DefWindowProc(msg, wParam, lParam);
        case WM_TIMER:
            if (wParam == kTimerStepUp) {
                StepUp();
            } else if (wParam == kTimerStepDown) {
                StepDown();
            }
            return DefWindowProc(msg, wParam, lParam);
        case WM_MOUSEMOVE:
            if (!enabled) {
                return 0;
            }
            OnMouseMove(point);
            return DefWindowProc(msg, wParam, lParam);
        case WM_MOUSELEAVE:
            hotPart = 0;
            tracking = 0;
            hovering = false;
            Redraw();
            return 0;
        case WM_MOUSEHOVER:
            hovering = true;
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        default:
            break;
    }
    return fw::CStatic::WindowProc(msg, wParam, lParam);
}
