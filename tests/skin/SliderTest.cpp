// The slider drawn into a real surface, stepped, clicked and disabled.
#include <gtest/gtest.h>

#include "skin/AppMessages.h"
#include "skin/HorizSlid.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"

namespace {

using skintest::Opaque;
using skintest::SendMouse;

constexpr int kX = 30;  // the slider's place in the host
constexpr int kY = 60;

constexpr DWORD kMinus = 0x110000, kMinusHot = 0x330000, kMinusOff = 0x220000;
constexpr DWORD kPlus = 0x001100, kPlusHot = 0x003300, kPlusOff = 0x002200;
constexpr DWORD kEmpty = 0x000011, kFilled = 0x000033, kTrackOff = 0x000022;
constexpr DWORD kBox = 0x444444;

class SliderTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.Create(nullptr));
        HWND hwnd = host.AddChild(L"STATIC", 0, kX, kY, 244, 23, 1200);
        ASSERT_TRUE(slider.SubclassWindow(hwnd));
        slider.minusImage = minus.get();
        slider.minusHotImage = minusHot.get();
        slider.minusDisabledImage = minusOff.get();
        slider.plusImage = plus.get();
        slider.plusHotImage = plusHot.get();
        slider.plusDisabledImage = plusOff.get();
        slider.trackEmptyImage = empty.get();
        slider.trackFilledImage = filled.get();
        slider.trackDisabledImage = trackOff.get();
        slider.boxImage = box.get();
        slider.digitsImage = digits.get();
        slider.AttachSurface(&surface);
        host.Clear();
    }
    // Colour of the track at a client x (row 10 lies in the track only).
    DWORD TrackAt(int x) const { return surface.Pixel(kX + x, kY + 10); }
    // Colour of value-box digit k.
    DWORD DigitAt(int k) const { return surface.Pixel(kX + 214 + 1 + 7 * k + 3, kY + 10); }
    // Slider notifications that arrive while the queue is pumped for a while.
    int NotificationsWithin(DWORD milliseconds) { return NotificationsWithin(milliseconds, host); }
    static int NotificationsWithin(DWORD milliseconds, const testkit::HostWindow& parent) {
        const int before = parent.Count(WM_APP_SLIDER_CHANGED);
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < milliseconds) {
            testkit::PumpMessages();
            ::Sleep(10);
        }
        return parent.Count(WM_APP_SLIDER_CHANGED) - before;
    }
    void ExpectDigits(int d0, int d1, int d2, int d3) const {
        EXPECT_EQ(DigitAt(0), Opaque(skintest::DigitColour(d0)));
        EXPECT_EQ(DigitAt(1), Opaque(skintest::DigitColour(d1)));
        EXPECT_EQ(DigitAt(2), Opaque(skintest::DigitColour(d2)));
        EXPECT_EQ(DigitAt(3), Opaque(skintest::DigitColour(d3)));
    }

    testkit::HostWindow host;
    SkinSurface surface;
    CHorizSlid slider;
    std::unique_ptr<Gdiplus::Bitmap> minus = skintest::SolidImage(18, 10, kMinus);
    std::unique_ptr<Gdiplus::Bitmap> minusHot = skintest::SolidImage(18, 10, kMinusHot);
    std::unique_ptr<Gdiplus::Bitmap> minusOff = skintest::SolidImage(18, 10, kMinusOff);
    std::unique_ptr<Gdiplus::Bitmap> plus = skintest::SolidImage(18, 17, kPlus);
    std::unique_ptr<Gdiplus::Bitmap> plusHot = skintest::SolidImage(18, 17, kPlusHot);
    std::unique_ptr<Gdiplus::Bitmap> plusOff = skintest::SolidImage(18, 17, kPlusOff);
    std::unique_ptr<Gdiplus::Bitmap> empty = skintest::SolidImage(182, 23, kEmpty);
    std::unique_ptr<Gdiplus::Bitmap> filled = skintest::SolidImage(182, 23, kFilled);
    std::unique_ptr<Gdiplus::Bitmap> trackOff = skintest::SolidImage(182, 23, kTrackOff);
    std::unique_ptr<Gdiplus::Bitmap> box = skintest::SolidImage(30, 15, kBox);
    std::unique_ptr<Gdiplus::Bitmap> digits = skintest::DigitStrip();
};

TEST_F(SliderTest, LaysOutTheStepButtonsFromTheImages) {
    EXPECT_EQ(slider.minusRect.right, 18);
    EXPECT_EQ(slider.plusRect.left, 196);
    EXPECT_EQ(slider.plusRect.bottom, 19);
    slider.UseCompactTrack();
    EXPECT_EQ(slider.plusRect.left, 141);
    EXPECT_EQ(slider.plusRect.right, 159);
}

TEST_F(SliderTest, FillIsSixPixelsPerPositionPlusFourAndTheBoxShowsFourDigits) {
    slider.SetRange(1200, 300, 1);
    slider.SetPos(850);
    EXPECT_EQ(slider.position, 18);  // 550 / 900 of 29 = 17.7
    slider.Redraw();
    const int fill = 18 * 6 + 4;
    EXPECT_EQ(TrackAt(18), Opaque(kFilled));
    EXPECT_EQ(TrackAt(18 + fill - 1), Opaque(kFilled));
    EXPECT_EQ(TrackAt(18 + fill), Opaque(kEmpty));
    EXPECT_EQ(surface.Pixel(kX + 5, kY + 10), Opaque(kMinus));
    EXPECT_EQ(surface.Pixel(kX + 200, kY + 10), Opaque(kPlus));
    EXPECT_EQ(surface.Pixel(kX + 214 + 15, kY + 3), Opaque(kBox));  // above the digits
    ExpectDigits(0, 8, 5, 0);
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 0);
}

TEST_F(SliderTest, DrawingShowsTheLastFourDigitsWithoutChangingTheValue) {
    slider.SetRange(20000, 0, 1);
    slider.SetPos(12345);
    slider.Draw();
    EXPECT_EQ(slider.GetPos(), 12345);
    ExpectDigits(2, 3, 4, 5);
}

TEST_F(SliderTest, NegativePositionDrawsNoFillNoBoxNoDigits) {
    slider.SetPos(10);
    slider.SetRange(100, 50, 1);  // value 10 stays outside the new range
    EXPECT_LT(slider.position, 0);
    slider.Draw();
    EXPECT_EQ(TrackAt(18), Opaque(kEmpty));
    EXPECT_EQ(DigitAt(0), 0u);
    EXPECT_EQ(surface.Pixel(kX + 214 + 28, kY + 5), 0u);
}

TEST_F(SliderTest, DisabledShowsTheDisabledFacesAndNoDigits) {
    slider.SetPos(20);
    slider.enabled = false;
    slider.Draw();
    EXPECT_EQ(surface.Pixel(kX + 5, kY + 10), Opaque(kMinusOff));
    EXPECT_EQ(TrackAt(30), Opaque(kTrackOff));
    EXPECT_EQ(surface.Pixel(kX + 200, kY + 10), Opaque(kPlusOff));
    EXPECT_EQ(surface.Pixel(kX + 214 + 28, kY + 5), Opaque(kBox));
    EXPECT_EQ(DigitAt(0), Opaque(kBox));
    EXPECT_EQ(DigitAt(3), Opaque(kBox));
}

TEST_F(SliderTest, DisabledIgnoresClicksAndDoubleClicks) {
    slider.SetPos(10);
    slider.enabled = false;
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 200, 10, MK_LBUTTON);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONUP, 200, 10);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDBLCLK, 5, 10, MK_LBUTTON);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 100, 10, MK_LBUTTON);
    EXPECT_EQ(slider.GetPos(), 10);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 0);
}

TEST_F(SliderTest, StepUpAtTheMaximumStillRedrawsAndNotifies) {
    slider.SetPos(29);
    slider.StepUp();
    EXPECT_EQ(slider.GetPos(), 29);
    EXPECT_EQ(slider.position, 29);
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 1);
    EXPECT_EQ(TrackAt(18 + 177), Opaque(kFilled));
}

TEST_F(SliderTest, StepsMoveByTheStepAndClampAtTheLimits) {
    slider.SetRange(100, 0, 30);
    slider.SetPos(95);
    slider.StepDown();
    EXPECT_EQ(slider.GetPos(), 65);
    slider.StepUp();
    slider.StepUp();
    EXPECT_EQ(slider.GetPos(), 100);
    slider.SetPos(10);
    slider.StepDown();
    EXPECT_EQ(slider.GetPos(), 0);
    EXPECT_EQ(slider.position, 0);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 4);
}

TEST_F(SliderTest, ButtonClicksStepAndDoubleClicksStepAgain) {
    slider.SetPos(10);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 200, 10, MK_LBUTTON);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONUP, 200, 10);
    EXPECT_EQ(slider.GetPos(), 11);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDBLCLK, 200, 10, MK_LBUTTON);
    EXPECT_EQ(slider.GetPos(), 12);
    // The minus button answers over its whole face, rows 5 to 14.
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 3, 5, MK_LBUTTON);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONUP, 3, 5);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 3, 14, MK_LBUTTON);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONUP, 3, 14);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 3, 15, MK_LBUTTON);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONUP, 3, 15);
    EXPECT_EQ(slider.GetPos(), 10);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 4);
}

TEST_F(SliderTest, HoldingPlusAtTheMaximumKeepsNotifyingEveryTick) {
    slider.SetPos(28);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 200, 10, MK_LBUTTON);
    EXPECT_EQ(::GetCapture(), slider.GetSafeHwnd());
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 450) {
        testkit::PumpMessages();
        ::Sleep(10);
    }
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONUP, 200, 10);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(slider.GetPos(), 29);
    const int notifications = host.Count(WM_APP_SLIDER_CHANGED);
    EXPECT_GE(notifications, 3);  // one at once, then one per 80 ms tick
    testkit::PumpMessages();
    ::Sleep(200);
    testkit::PumpMessages();
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), notifications);  // stopped on release
}

TEST_F(SliderTest, AutoRepeatEndsWhenTheCaptureIsLostAndOnEveryRelease) {
    slider.SetPos(5);
    // Another window takes the capture while plus is held (Alt+Tab, a window shown over it).
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 200, 10, MK_LBUTTON);
    ::SetCapture(host.hwnd());
    EXPECT_EQ(NotificationsWithin(300), 0);
    ::ReleaseCapture();
    EXPECT_EQ(slider.GetPos(), 6);
    // The page disables the slider while minus is held: the release still ends the hold.
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 5, 10, MK_LBUTTON);
    slider.enabled = false;
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONUP, 5, 10);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(NotificationsWithin(300), 0);
    EXPECT_EQ(slider.GetPos(), 5);
}

TEST_F(SliderTest, ACaptureLostDuringTheFirstStepsNotificationEndsTheHold) {
    // The page answers the first step by taking the capture (a message box, a window of its own).
    class CapturingHost : public testkit::HostWindow {
      protected:
        LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
            if (msg == WM_APP_SLIDER_CHANGED) {
                ::SetCapture(hwnd());
            }
            return HostWindow::WindowProc(msg, wParam, lParam);
        }
    };
    CapturingHost page;
    CHorizSlid held;
    ASSERT_TRUE(held.SubclassWindow(page.AddChild(L"STATIC", 0, kX, kY, 244, 23, 1201)));
    held.plusImage = plus.get();
    held.minusImage = minus.get();
    held.AttachSurface(nullptr);
    SendMouse(held.GetSafeHwnd(), WM_LBUTTONDOWN, 200, 10, MK_LBUTTON);
    EXPECT_EQ(::GetCapture(), page.hwnd());
    EXPECT_EQ(page.Count(WM_APP_SLIDER_CHANGED), 1);
    EXPECT_EQ(NotificationsWithin(300, page), 0);
    ::ReleaseCapture();
    EXPECT_EQ(held.GetPos(), 1);
}

TEST_F(SliderTest, FillNeverPaintsPastTheTrack) {
    // A compact track at its last position: 20 positions of 6 pixels and 4 would be 124.
    slider.UseCompactTrack();
    slider.trackSteps = 20;
    slider.SetRange(20, 0, 1);
    slider.SetPos(20);
    slider.Draw();
    EXPECT_EQ(TrackAt(18 + 122), Opaque(kFilled));
    EXPECT_EQ(TrackAt(18 + 123), Opaque(kPlus));
    // A full track whose value was left above a new, narrower range: position 42 of 29.
    slider.trackWidth = 178;
    slider.trackSteps = 29;
    slider.LayOutButtons();
    slider.SetRange(29, 0, 1);
    slider.SetPos(29);
    slider.SetRange(20, 0, 1);
    EXPECT_GT(slider.position, slider.trackSteps);
    slider.Draw();
    EXPECT_EQ(TrackAt(18 + 177), Opaque(kFilled));
    EXPECT_EQ(TrackAt(18 + 178), Opaque(kPlus));
}

TEST_F(SliderTest, TrackClickSelectsTheSegmentsLargestValue) {
    slider.SetRange(1000, 500, 1);
    slider.SetPos(500);
    // Segment 15 spans x = 104..109.
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 106, 10, MK_LBUTTON);
    EXPECT_EQ(slider.GetPos(), 767);
    EXPECT_EQ(slider.position, 15);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 1);
    EXPECT_EQ(TrackAt(18 + 15 * 6 + 3), Opaque(kFilled));
    EXPECT_EQ(TrackAt(18 + 15 * 6 + 4), Opaque(kEmpty));
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONUP, 106, 10);

    slider.SetRange(29, 0, 1);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 190, 10, MK_LBUTTON);
    EXPECT_EQ(slider.GetPos(), 29);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 22, 10, MK_LBUTTON);
    EXPECT_EQ(slider.GetPos(), 1);
    // Outside the track area (row 2 lies above it): nothing.
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 100, 2, MK_LBUTTON);
    EXPECT_EQ(slider.GetPos(), 1);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 3);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(SliderTest, TrackClickOnAnEmptySegmentOrAnEmptyRangeChangesNothing) {
    slider.SetRange(10, 0, 1);
    slider.SetPos(5);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 22, 10, MK_LBUTTON);  // segment 1: no value
    EXPECT_EQ(slider.GetPos(), 5);
    slider.SetRange(10, 10, 1);
    EXPECT_EQ(slider.position, 0);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 190, 10, MK_LBUTTON);
    slider.SetRange(5, 10, 1);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 190, 10, MK_LBUTTON);
    EXPECT_EQ(slider.position, 0);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 0);
    slider.StepUp();  // an empty range still steps without dividing by zero
    EXPECT_EQ(slider.position, 0);
}

TEST_F(SliderTest, CompactTrackIgnoresTrackClicks) {
    slider.UseCompactTrack();
    slider.SetPos(3);
    SendMouse(slider.GetSafeHwnd(), WM_LBUTTONDOWN, 60, 10, MK_LBUTTON);
    EXPECT_EQ(slider.GetPos(), 3);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 0);
}

TEST_F(SliderTest, HoveringAStepButtonShowsItsHotFace) {
    SendMouse(slider.GetSafeHwnd(), WM_MOUSEMOVE, 200, 10);
    EXPECT_EQ(slider.hotPart, 2);
    EXPECT_EQ(surface.Pixel(kX + 200, kY + 10), Opaque(kPlusHot));
    SendMouse(slider.GetSafeHwnd(), WM_MOUSEMOVE, 100, 10);  // straight onto the track
    EXPECT_EQ(slider.hotPart, 0);
    EXPECT_EQ(surface.Pixel(kX + 200, kY + 10), Opaque(kPlus));
    SendMouse(slider.GetSafeHwnd(), WM_MOUSEMOVE, 5, 10);
    EXPECT_EQ(surface.Pixel(kX + 5, kY + 10), Opaque(kMinusHot));
    ::SendMessageW(slider.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(slider.hotPart, 0);
    EXPECT_EQ(surface.Pixel(kX + 5, kY + 10), Opaque(kMinus));
}

TEST_F(SliderTest, WithoutSurfaceStepsStillChangeTheValueAndNotify) {
    slider.AttachSurface(nullptr);
    slider.StepUp();
    EXPECT_EQ(slider.GetPos(), 1);
    EXPECT_EQ(host.Count(WM_APP_SLIDER_CHANGED), 1);
}

}  // namespace
