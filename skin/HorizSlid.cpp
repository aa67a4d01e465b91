#include "skin/HorizSlid.h"

#include <climits>

#include "skin/AppMessages.h"
#include "skin/SkinCanvas.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"
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
    skin::AddNotifyStyle(GetSafeHwnd());
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
    Redraw();
    NotifyParent();
}

void CHorizSlid::NotifyParent() {
    ::SendMessageW(::GetParent(GetSafeHwnd()), WM_APP_SLIDER_CHANGED, 0, 0);
}

void CHorizSlid::Draw() {
    Paint(skin::Present::No);
}

void CHorizSlid::Redraw() {
    Paint(skin::Present::AtEnd);
}

void CHorizSlid::Paint(skin::Present present) {
    using skin::ImageHeight;
    using skin::ImageWidth;
    skin::SkinCanvas canvas(surface, GetSafeHwnd(), skin::Origin::MainWindow, skin::Visible::Window,
                            present);
    if (!canvas) {
        return;
    }
    Gdiplus::Graphics& graphics = canvas.graphics();
    const int y = canvas.rect().top;
    const int minusX = canvas.rect().left;
    const int trackX = minusX + ImageWidth(minusImage);
    const int plusX = trackX + trackWidth;
    const int boxX = plusX + ImageWidth(plusImage);
    Gdiplus::Image* minus = !enabled       ? minusDisabledImage
                            : hotPart == 1 ? minusHotImage
                                           : minusImage;
    Gdiplus::Image* track = enabled ? trackEmptyImage : trackDisabledImage;
    Gdiplus::Image* plus = !enabled ? plusDisabledImage : hotPart == 2 ? plusHotImage : plusImage;
    skin::DrawWholeImage(graphics, minus, minusX, y + 5);
    skin::DrawImageAt(graphics, track, trackX, y, trackWidth, ImageHeight(track));
    skin::DrawWholeImage(graphics, plus, plusX, y + 2);
    // A disabled slider shows an empty box; a position left below the range shows no value.
    if (!enabled) {
        skin::DrawWholeImage(graphics, boxImage, boxX, y + 3);
        return;
    }
    if (position < 0) {
        return;
    }
    skin::DrawImageAt(graphics, trackFilledImage, trackX, y,
                      skin::SliderFillWidth(position, trackWidth), ImageHeight(trackFilledImage));
    skin::DrawWholeImage(graphics, boxImage, boxX, y + 3);
    // The box shows the last four digits; the value itself is left as it is.
    const auto digits = skin::SliderBoxDigits(value);
    const int boxHeight = ImageHeight(boxImage);
    for (int k = 0; k < 4; ++k) {
        const int left = boxX + 1 + skin::kDigitWidth * k;
        skin::DrawImagePart(graphics, digitsImage,
                            RECT{left, y + 4, left + skin::kDigitWidth, y + 4 + boxHeight},
                            skin::SliderDigitSourceX(digits[static_cast<size_t>(k)]), 0,
                            skin::kDigitWidth, ImageHeight(digitsImage));
    }
}

bool CHorizSlid::InTrackArea(POINT point) const {
    const skin::IntRect area = skin::SliderTrackArea(trackWidth, skin::ImageWidth(minusImage),
                                                     skin::ImageHeight(trackEmptyImage));
    return area.contains(point.x, point.y);
}

void CHorizSlid::ClickTrack(POINT point) {
    if (trackWidth != skin::kFullTrackWidth || !InTrackArea(point)) {
        return;
    }
    const int segment = skin::SliderTrackSegment(point.x, skin::ImageWidth(minusImage));
    const auto chosen = skin::SliderValueForSegment(segment, minimum, maximum, step, trackSteps);
    if (!chosen) {
        return;
    }
    position = segment;
    value = *chosen;
    Redraw();
    NotifyParent();
}

void CHorizSlid::StartRepeat(UINT_PTR timer) {
    // The hold is armed before the first step: the parent may take the capture away while it
    // handles that step's notification, and the capture loss must then end the hold.
    StopRepeat();  // a hold still running (a press without its release) ends first
    ::SetCapture(GetSafeHwnd());
    repeating_ = timer;
    ::SetTimer(GetSafeHwnd(), timer, kRepeatPeriodMs, nullptr);
    if (timer == kTimerStepUp) {
        StepUp();
    } else {
        StepDown();
    }
}

void CHorizSlid::StopRepeat() {
    // Only the held button's timer runs (a tick queued before is ignored by OnTimer).
    if (repeating_ != 0) {
        ::KillTimer(GetSafeHwnd(), repeating_);
        repeating_ = 0;
    }
}

bool CHorizSlid::OnLButtonDown(UINT, POINT point) {
    if (!enabled) {
        return true;
    }
    if (::PtInRect(&plusRect, point)) {
        StartRepeat(kTimerStepUp);
    } else if (::PtInRect(&minusRect, point)) {
        StartRepeat(kTimerStepDown);
    } else {
        ClickTrack(point);
    }
    Default();
    return true;
}

bool CHorizSlid::OnLButtonUp(UINT, POINT) {
    // A release always ends a hold, also when the page disabled the slider meanwhile.
    StopRepeat();
    if (::GetCapture() == GetSafeHwnd()) {
        ::ReleaseCapture();
    }
    if (enabled) {
        Default();
    }
    return true;
}

bool CHorizSlid::OnCaptureChanged(HWND) {
    // Without the capture the release would go elsewhere (Alt+Tab, a window shown over this
    // one): the hold ends here.
    StopRepeat();
    return false;
}

bool CHorizSlid::OnLButtonDblClk(UINT, POINT point) {
    if (!enabled) {
        return true;
    }
    if (::PtInRect(&plusRect, point)) {
        StepUp();
    } else if (::PtInRect(&minusRect, point)) {
        StepDown();
    }
    Default();
    return true;
}

bool CHorizSlid::OnTimer(UINT_PTR id) {
    // A tick already queued when the hold ended steps no more.
    if (id == repeating_ && id == kTimerStepUp) {
        StepUp();
    } else if (id == repeating_ && id == kTimerStepDown) {
        StepDown();
    }
    return false;
}

bool CHorizSlid::OnMouseMove(UINT, POINT point) {
    if (!enabled) {
        return true;
    }
    const int previous = hotPart;
    if (::PtInRect(&minusRect, point)) {
        hotPart = 1;
    } else if (::PtInRect(&plusRect, point)) {
        hotPart = 2;
    } else {
        if (trackWidth == skin::kFullTrackWidth && InTrackArea(point)) {
            ::SetCursor(handCursor);
        }
        hotPart = 0;
    }
    // Any change of the hot button redraws, also when the pointer slides from a button straight
    // onto the track, so no button keeps a stale hot face.
    return EndMouseMove(hotPart != previous, tracking, [this] { Redraw(); });
}

bool CHorizSlid::OnMouseLeave() {
    hotPart = 0;
    tracking = 0;
    hovering = false;
    Redraw();
    return true;
}

bool CHorizSlid::OnMouseHover(UINT, POINT) {
    hovering = true;
    return true;
}
