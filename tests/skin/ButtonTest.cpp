// Skinned buttons drawing into a real surface and reacting to mouse messages.
#include <gtest/gtest.h>

#include "skin/AppMessages.h"
#include "skin/BigButton.h"
#include "skin/BmButton.h"
#include "skin/StaticButon.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"

namespace {

using skintest::Opaque;
using skintest::SendMouse;

constexpr DWORD kNormal = 0x102030;
constexpr DWORD kHover = 0x405060;
constexpr DWORD kPressed = 0x708090;
constexpr DWORD kToggled = 0xA0B0C0;

class BmButtonTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.Create(nullptr));
        HWND hwnd = host.AddChild(L"BUTTON", BS_PUSHBUTTON, 100, 50, 20, 10, 1001);
        ASSERT_TRUE(button.SubclassWindow(hwnd));
        button.normalImage = normal.get();
        button.hoverImage = hover.get();
        button.pressedImage = pressed.get();
        button.toggledImage = toggled.get();
        button.AttachSurface(&surface);
        button.shown = true;
        testkit::PumpMessages();
        host.Clear();
    }
    DWORD Face() const { return surface.Pixel(110, 55); }
    int Clicks() const {
        int clicks = 0;
        for (const auto& r : host.Of(WM_COMMAND)) {
            clicks += HIWORD(r.wParam) == BN_CLICKED && LOWORD(r.wParam) == 1001;
        }
        return clicks;
    }

    testkit::HostWindow host;
    SkinSurface surface;
    CBmButton button;
    std::unique_ptr<Gdiplus::Bitmap> normal = skintest::SolidImage(20, 10, kNormal);
    std::unique_ptr<Gdiplus::Bitmap> hover = skintest::SolidImage(20, 10, kHover);
    std::unique_ptr<Gdiplus::Bitmap> pressed = skintest::SolidImage(20, 10, kPressed);
    std::unique_ptr<Gdiplus::Bitmap> toggled = skintest::SolidImage(20, 10, kToggled);
};

TEST_F(BmButtonTest, DrawsTheFaceOfEachStateIntoItsRectangleAndPresents) {
    button.Redraw();
    EXPECT_EQ(Face(), Opaque(kNormal));
    EXPECT_EQ(surface.Pixel(100, 50), Opaque(kNormal));
    EXPECT_EQ(surface.Pixel(119, 59), Opaque(kNormal));
    EXPECT_EQ(surface.Pixel(120, 55), 0u);
    EXPECT_EQ(surface.Pixel(99, 55), 0u);
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);

    ::SendMessageW(button.GetSafeHwnd(), WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Face(), Opaque(kHover));
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(Face(), Opaque(kPressed));
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(Face(), Opaque(kHover));
    button.toggled = true;
    button.Redraw();
    EXPECT_EQ(Face(), Opaque(kToggled));
    ::SendMessageW(button.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Face(), Opaque(kToggled));
    button.toggled = false;
    button.Redraw();
    EXPECT_EQ(Face(), Opaque(kNormal));
}

TEST_F(BmButtonTest, WithoutPressedImageAPressShowsTheHoverFaceWhileOver) {
    button.pressedImage = nullptr;
    ::SendMessageW(button.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(Face(), Opaque(kHover));
    ::SendMessageW(button.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Face(), Opaque(kNormal));
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONUP, 50, 50);
}

TEST_F(BmButtonTest, ClickOverTheButtonNotifiesTheParent) {
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_TRUE(button.pressed);
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONUP, 5, 5);
    testkit::PumpMessages();
    EXPECT_FALSE(button.pressed);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(BmButtonTest, ReleasingOutsideAPressedButtonClearsItAndSendsNoClick) {
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONUP, 60, 40);
    testkit::PumpMessages();
    EXPECT_FALSE(button.pressed);
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(BmButtonTest, NotShownItNeitherDrawsNorReportsClicks) {
    button.shown = false;
    button.Redraw();
    SendMouse(button.GetSafeHwnd(), WM_MOUSEMOVE, 5, 5);
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    SendMouse(button.GetSafeHwnd(), WM_LBUTTONUP, 5, 5);
    testkit::PumpMessages();
    EXPECT_FALSE(button.pressed);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(Face(), 0u);
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 0);
}

TEST_F(BmButtonTest, HiddenParentOrMissingSurfaceOrImageDrawNothing) {
    button.Redraw();
    ASSERT_EQ(Face(), Opaque(kNormal));
    button.toggled = true;  // the face it would draw now
    // A hidden parent: the surface keeps the earlier face and nothing is presented.
    ::ShowWindow(host.hwnd(), SW_HIDE);
    button.Redraw();
    EXPECT_EQ(Face(), Opaque(kNormal));
    ::ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
    // No surface: nothing presented.
    button.surface = nullptr;
    button.Redraw();
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);
    // No image for the state: the pixels under it stay, the presentation still happens.
    button.surface = &surface;
    button.toggledImage = nullptr;
    button.Redraw();
    EXPECT_EQ(Face(), Opaque(kNormal));
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 2);
    // With all three back it draws again.
    button.toggledImage = toggled.get();
    button.Redraw();
    EXPECT_EQ(Face(), Opaque(kToggled));
}

TEST_F(BmButtonTest, SetTextKeepsTheCaptionButNotTheWindowText) {
    ::SetWindowTextW(button.GetSafeHwnd(), L"确认");
    EXPECT_EQ(button.caption, L"确认");
    ::SendMessageW(button.GetSafeHwnd(), WM_SETTEXT, 0, 0);
    EXPECT_EQ(button.caption, L"");
    EXPECT_EQ(::GetWindowTextLengthW(button.GetSafeHwnd()), 0);
}

TEST_F(BmButtonTest, AnimationOfABadImageStartsNoTimer) {
    // KillTimer fails for a timer that was never set.
    const auto timerRuns = [this] {
        return ::KillTimer(button.GetSafeHwnd(), CBmButton::kTimerAnimation) != FALSE;
    };
    button.animated = true;
    button.hoverImage = nullptr;
    button.StartAnimation();
    EXPECT_FALSE(timerRuns()) << "no image";
    Gdiplus::Image failed(L"no-such-picture.gif");
    button.hoverImage = &failed;
    button.StartAnimation();
    EXPECT_FALSE(timerRuns()) << "an image whose status is not Ok";
    // A single-frame image animates in place: the index wraps at once.
    button.hoverImage = hover.get();
    button.StartAnimation();
    EXPECT_EQ(button.frameCount, 1u);
    EXPECT_TRUE(timerRuns());
    ::SendMessageW(button.GetSafeHwnd(), WM_TIMER, CBmButton::kTimerAnimation, 0);
    EXPECT_EQ(button.frameIndex, 0u);
    EXPECT_EQ(Face(), Opaque(kHover));
}

class BigButtonTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.Create(nullptr));
        HWND hwnd = host.AddChild(L"STATIC", SS_NOTIFY, 200, 100, 120, 82, 1003);
        ASSERT_TRUE(big.SubclassWindow(hwnd));
        big.SetRegions({5, 5, 35, 80}, {85, 5, 119, 80}, {43, 5, 77, 38}, {43, 49, 77, 81});
        big.background = backgroundImage.get();
        big.highlight = highlightImage.get();
        big.AttachSurface(&surface);
        testkit::PumpMessages();
        host.Clear();
    }

    testkit::HostWindow host;
    SkinSurface surface;
    CBigButton big;
    std::unique_ptr<Gdiplus::Bitmap> backgroundImage = skintest::SolidImage(800, 328, 0x112233);
    std::unique_ptr<Gdiplus::Bitmap> highlightImage = skintest::SolidImage(800, 328, 0xCC8844);
};

TEST_F(BigButtonTest, ClickInARegionPostsItsNumberAndTheGapPostsNothing) {
    SendMouse(big.GetSafeHwnd(), WM_LBUTTONDOWN, 90, 40, MK_LBUTTON);
    SendMouse(big.GetSafeHwnd(), WM_LBUTTONUP, 90, 40);
    SendMouse(big.GetSafeHwnd(), WM_LBUTTONDOWN, 40, 40, MK_LBUTTON);  // between regions
    SendMouse(big.GetSafeHwnd(), WM_LBUTTONUP, 40, 40);
    EXPECT_EQ(host.Count(WM_APP_NAVIGATE), 0);  // posted, not sent
    testkit::PumpMessages();
    const auto posted = host.Of(WM_APP_NAVIGATE);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, 2u);
    EXPECT_EQ(posted[0].lParam, 0);
}

TEST_F(BigButtonTest, OverlappingRegionsResolveToTheLowerNumber) {
    big.SetRegions({50, 10, 70, 30}, {0, 0, 120, 82}, {50, 10, 70, 30}, {0, 0, 1, 1});
    SendMouse(big.GetSafeHwnd(), WM_MOUSEMOVE, 60, 20);
    EXPECT_EQ(big.hoveredRegion, 1);
    SendMouse(big.GetSafeHwnd(), WM_LBUTTONDOWN, 60, 20, MK_LBUTTON);
    SendMouse(big.GetSafeHwnd(), WM_LBUTTONUP, 60, 20);
    testkit::PumpMessages();
    const auto posted = host.Of(WM_APP_NAVIGATE);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, 1u);
}

TEST_F(BigButtonTest, HoverHighlightsOnlyTheHoveredRegionFromTheAtlas) {
    EXPECT_EQ(surface.Pixel(260, 140), Opaque(0x112233));
    SendMouse(big.GetSafeHwnd(), WM_MOUSEMOVE, 60, 20);
    EXPECT_EQ(big.hoveredRegion, 3);
    EXPECT_EQ(surface.Pixel(260, 120), Opaque(0x112233));  // no redraw on a plain move
    ::SendMessageW(big.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(surface.Pixel(260, 120), Opaque(0xCC8844));  // region 3 at (243..277, 105..138)
    EXPECT_EQ(surface.Pixel(260, 160), Opaque(0x112233));  // region 4 unlit
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);
    ::SendMessageW(big.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(big.hoveredRegion, 0);
    EXPECT_EQ(surface.Pixel(260, 120), Opaque(0x112233));
}

TEST(StaticButonTest, ClickOnTheMarkTogglesItAndClicksElsewhereDoNot) {
    testkit::HostWindow host;
    SkinSurface surface;
    ASSERT_TRUE(surface.Create(nullptr));
    auto row = skintest::SolidImage(265, 18, 0x223344);
    auto mark = skintest::SolidImage(14, 14, 0x00FF00);
    auto markHover = skintest::SolidImage(14, 14, 0x0000FF);
    auto markToggled = skintest::SolidImage(14, 14, 0xFF0000);
    CStaticButon preset;
    preset.background = row.get();
    preset.markImage = mark.get();
    preset.markHoverImage = markHover.get();
    preset.markToggledImage = markToggled.get();
    preset.AttachSurface(&surface);
    HWND hwnd = host.AddChild(L"STATIC", 0, 10, 200, 10, 10, 1100);
    ASSERT_TRUE(preset.SubclassWindow(hwnd));
    ::MoveWindow(hwnd, 10, 200, 265, 18, FALSE);
    EXPECT_EQ(preset.markRect.left, 200);
    EXPECT_EQ(preset.markRect.top, 2);
    EXPECT_EQ(preset.markRect.right, 214);
    EXPECT_EQ(preset.markRect.bottom, 16);

    SendMouse(hwnd, WM_LBUTTONDOWN, 50, 9, MK_LBUTTON);
    EXPECT_FALSE(preset.toggled);
    SendMouse(hwnd, WM_MOUSEMOVE, 205, 9);
    EXPECT_TRUE(preset.hover);
    EXPECT_EQ(surface.Pixel(217, 209), Opaque(0x0000FF));
    SendMouse(hwnd, WM_LBUTTONDOWN, 205, 9, MK_LBUTTON);
    EXPECT_TRUE(preset.toggled);
    EXPECT_EQ(surface.Pixel(217, 209), Opaque(0xFF0000));
    EXPECT_EQ(surface.Pixel(15, 209), Opaque(0x223344));
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 2);
}

}  // namespace
