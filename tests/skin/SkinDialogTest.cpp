// The skinned dialog bases: surface creation, background, key filtering and page drawing.
#include <gtest/gtest.h>

#include "skin/AppMessages.h"
#include "skin/BmButton.h"
#include "skin/SkinCanvas.h"
#include "skin/SkinDialog.h"
#include "skin/SkinSubDialog.h"
#include "tests/skin/SkinDialogTestIds.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/HostWindow.h"

namespace {

using skintest::Opaque;

class TopDialog : public CSkinDialog {
  public:
    TopDialog() : CSkinDialog(IDD_SKIN_TOP) {}
    ~TopDialog() override {
        if (HWND hwnd = GetSafeHwnd()) {
            ::DestroyWindow(hwnd);
        }
    }
    bool surfaceAtInit = false;
    HWND activeAfterInit = nullptr;

  protected:
    BOOL OnInitDialog() override {
        surfaceAtInit = static_cast<bool>(surface);
        const BOOL result = CSkinDialog::OnInitDialog();
        activeAfterInit = ::GetActiveWindow();
        return result;
    }
};

// The picture drawn by itself at (0, 0) on a fresh surface.
bool DrawnAlone(Gdiplus::Image* picture, SkinSurface& alone) {
    if (!alone.Create(nullptr)) {
        return false;
    }
    Gdiplus::Graphics graphics(alone.GetDC());
    skin::DrawWholeImage(graphics, picture, 0, 0);
    return true;
}

MSG KeyDown(HWND hwnd, WPARAM key) {
    return MSG{hwnd, WM_KEYDOWN, key, 0, 0, {0, 0}};
}

// A window presents only the area its drawings changed: a drawing must never reach pixels
// outside its own rectangle, or they would stay off the screen.
TEST(SkinCanvasTest, ADrawingReachesNoPixelOutsideItsRectangle) {
    SkinSurface surface;
    ASSERT_TRUE(surface.Create(nullptr));
    {
        skin::SkinCanvas canvas(&surface, RECT{100, 50, 140, 70}, nullptr, skin::Present::No);
        ASSERT_TRUE(canvas);
        Gdiplus::SolidBrush white{Gdiplus::Color{0xFFFFFFFF}};
        canvas.graphics().FillRectangle(&white, 0, 0, SkinSurface::kWidth, SkinSurface::kHeight);
    }
    EXPECT_EQ(surface.Pixel(100, 50), 0xFFFFFFFFu);
    EXPECT_EQ(surface.Pixel(139, 69), 0xFFFFFFFFu);
    for (const POINT outside : {POINT{99, 50}, POINT{140, 69}, POINT{100, 49}, POINT{139, 70},
                                POINT{0, 0}, POINT{799, 327}}) {
        EXPECT_EQ(surface.Pixel(outside.x, outside.y), 0u) << outside.x << "," << outside.y;
    }
}

TEST(SkinDialogTest, SurfaceExistsBeforeInitAndStartsFullyTransparent) {
    TopDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_TRUE(dialog.surfaceAtInit);
    for (int y = 0; y < SkinSurface::kHeight; y += 7) {
        for (int x = 0; x < SkinSurface::kWidth; x += 7) {
            ASSERT_EQ(dialog.surface.Pixel(x, y), 0u) << x << "," << y;
        }
    }
    RECT rect{};
    ::GetWindowRect(dialog.GetSafeHwnd(), &rect);
    EXPECT_NE(rect.right - rect.left, SkinSurface::kWidth);  // no background: no resize
    EXPECT_EQ(::SendMessageW(dialog.GetSafeHwnd(), WM_ERASEBKGND, 0, 0), TRUE);
}

TEST(SkinDialogTest, GoodBackgroundResizesTheWindowAndIsDrawnAtItsOwnSize) {
    auto background = skintest::SolidImage(50, 40, 0x4080C0);
    TopDialog dialog;
    dialog.background = background.get();
    ASSERT_TRUE(dialog.Create(nullptr));
    RECT rect{};
    ::GetWindowRect(dialog.GetSafeHwnd(), &rect);
    EXPECT_EQ(rect.right - rect.left, SkinSurface::kWidth);
    EXPECT_EQ(rect.bottom - rect.top, SkinSurface::kHeight);
    EXPECT_EQ(dialog.surface.Pixel(0, 0), Opaque(0x4080C0));
    EXPECT_EQ(dialog.surface.Pixel(49, 39), Opaque(0x4080C0));
    EXPECT_EQ(dialog.surface.Pixel(50, 10), 0u);
    EXPECT_EQ(dialog.surface.Pixel(10, 40), 0u);
}

// A dialog made with a half-transparent background, as the soft outline of the window's
// backgrounds is, for tests that change the background.
class BackgroundChangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog.background = first.get();
        ASSERT_TRUE(dialog.Create(nullptr));
    }

    std::unique_ptr<Gdiplus::Bitmap> first = skintest::ArgbImage(50, 40, 0x80C04020);
    TopDialog dialog;
};

TEST_F(BackgroundChangeTest, ANewBackgroundReplacesThePictureInsteadOfBlendingOverIt) {
    auto second = skintest::ArgbImage(50, 40, 0x802040C0);
    dialog.background = second.get();
    dialog.DrawBackground();

    SkinSurface alone;
    ASSERT_TRUE(DrawnAlone(second.get(), alone));
    EXPECT_EQ(dialog.surface.Pixel(10, 10), alone.Pixel(10, 10));
}

TEST_F(BackgroundChangeTest, APreparedBackgroundGivesThePixelsOfTheDrawAndOnlyForItsPicture) {
    auto second = skintest::ArgbImage(60, 30, 0x802040C0);
    const DWORD drawn = dialog.surface.Pixel(10, 10);
    ASSERT_NE(drawn, 0u);

    dialog.PrepareBackground(second.get());
    EXPECT_EQ(dialog.surface.Pixel(10, 10), drawn);  // preparing draws nothing on the window
    // Another picture is drawn as it is, not replaced by the prepared one.
    dialog.surface.Fill({0, 0, 100, 100}, 0xFF112233);
    dialog.DrawBackground();
    EXPECT_EQ(dialog.surface.Pixel(10, 10), drawn);
    EXPECT_EQ(dialog.surface.Pixel(55, 20), 0u);

    dialog.surface.Fill({0, 0, 100, 100}, 0xFF112233);
    dialog.background = second.get();
    dialog.DrawBackground();
    SkinSurface alone;
    ASSERT_TRUE(DrawnAlone(second.get(), alone));
    for (const POINT point : {POINT{10, 10}, POINT{59, 29}, POINT{60, 10}, POINT{10, 30}}) {
        EXPECT_EQ(dialog.surface.Pixel(point.x, point.y), alone.Pixel(point.x, point.y))
            << point.x << "," << point.y;
    }
}

TEST(SkinDialogTest, ClientEdgeIsDroppedSoControlsLieUnderTheirPictures) {
    TopDialog dialog;  // its template asks for a client edge
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND hwnd = dialog.GetSafeHwnd();
    EXPECT_FALSE(::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    // The surface is shown from the window's corner; a control draws itself at its rectangle
    // in client coordinates, so the client area must start at that corner.
    RECT frame{};
    ::GetWindowRect(hwnd, &frame);
    HWND edit = ::GetDlgItem(hwnd, IDC_SKIN_EDIT);
    RECT onScreen{};
    ::GetWindowRect(edit, &onScreen);
    const RECT drawnAt = skin::RectInClient(edit, hwnd);
    EXPECT_EQ(onScreen.left - frame.left, drawnAt.left);
    EXPECT_EQ(onScreen.top - frame.top, drawnAt.top);
}

TEST(SkinDialogTest, HidingTheDialogTakesItsControlsOutOfTheirHover) {
    auto normal = skintest::SolidImage(20, 10, 0x102030);
    auto lit = skintest::SolidImage(20, 10, 0x405060);
    TopDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND hwnd = dialog.GetSafeHwnd();
    HWND control = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 100, 50, 20, 10,
                                     hwnd, nullptr, nullptr, nullptr);
    CBmButton button;
    ASSERT_TRUE(button.SubclassWindow(control));
    button.normalImage = normal.get();
    button.hoverImage = lit.get();
    button.AttachSurface(&dialog.surface);
    button.shown = true;
    ::SendMessageW(control, WM_MOUSEHOVER, 0, 0);
    ASSERT_EQ(dialog.surface.Pixel(110, 55), Opaque(0x405060));

    // Its leave notification may come while the window is hidden, when it cannot draw: the
    // picture shown again must not keep the lit face.
    ::ShowWindow(hwnd, SW_HIDE);
    EXPECT_FALSE(button.hover);
    ::SendMessageW(control, WM_MOUSELEAVE, 0, 0);
    ::ShowWindow(hwnd, SW_SHOW);
    EXPECT_EQ(dialog.surface.Pixel(110, 55), Opaque(0x102030));
}

TEST(SkinDialogTest, SwallowsEnterEscapeAndSpaceOnlyForTheFocusedWindow) {
    TopDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND edit = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_SKIN_EDIT);
    ::SetFocus(edit);
    ASSERT_EQ(::GetFocus(), edit);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_SPACE}) {
        MSG msg = KeyDown(edit, key);
        EXPECT_TRUE(dialog.PreTranslateMessage(&msg)) << key;
    }
    MSG letter = KeyDown(edit, 'A');
    EXPECT_FALSE(dialog.PreTranslateMessage(&letter));
    MSG keyUp{edit, WM_KEYUP, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_FALSE(dialog.PreTranslateMessage(&keyUp));
    MSG elsewhere = KeyDown(dialog.GetSafeHwnd(), VK_RETURN);
    EXPECT_FALSE(dialog.PreTranslateMessage(&elsewhere));
    ::SetFocus(nullptr);
    MSG noFocus = KeyDown(dialog.GetSafeHwnd(), VK_ESCAPE);
    EXPECT_FALSE(dialog.PreTranslateMessage(&noFocus));
}

// Activation comes with the show: sizing the window while it is made leaves the active window
// as it is (activating is a round trip to that window's owner, before anything is on screen).
TEST(SkinDialogTest, SizingTheWindowAtItsStartDoesNotActivateIt) {
    testkit::HostWindow other;
    ::SetActiveWindow(other.hwnd());
    ASSERT_EQ(::GetActiveWindow(), other.hwnd());
    auto background = skintest::SolidImage(50, 40, 0x4080C0);
    TopDialog dialog;
    dialog.background = background.get();
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.activeAfterInit, other.hwnd());
}

TEST(SkinDialogTest, ClickOnTheDialogTakesTheFocus) {
    TopDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    testkit::HostWindow other;
    ::SetFocus(other.hwnd());
    ASSERT_EQ(::GetFocus(), other.hwnd());
    skintest::SendMouse(dialog.GetSafeHwnd(), WM_LBUTTONDOWN, 150, 80, MK_LBUTTON);
    // The dialog takes the focus and, as dialogs do, hands it to its first control.
    HWND focus = ::GetFocus();
    EXPECT_TRUE(focus == dialog.GetSafeHwnd() || ::IsChild(dialog.GetSafeHwnd(), focus));
}

class TestPage : public CSkinSubDialog {
  public:
    TestPage() : CSkinSubDialog(IDD_SKIN_PAGE) {}
    int controlsDrawn = 0;

  protected:
    void DrawControls() override { ++controlsDrawn; }
};

TEST(SkinSubDialogTest, HiddenPageDrawsNothingAndShownPageDrawsAtItsPlace) {
    testkit::HostWindow host;
    SkinSurface surface;
    ASSERT_TRUE(surface.Create(nullptr));
    auto background = skintest::SolidImage(40, 30, 0x60A020);
    TestPage page;
    ASSERT_TRUE(page.Create(host.hwnd()));
    ::MoveWindow(page.GetSafeHwnd(), 300, 100, 268, 178, FALSE);
    page.AttachSkin(&surface, background.get());
    host.Clear();

    EXPECT_EQ(page.RedrawPage(), 0);
    EXPECT_EQ(page.controlsDrawn, 0);
    EXPECT_EQ(surface.Pixel(310, 110), 0u);

    host.refreshAnswer = 7;
    EXPECT_TRUE(page.ShowPage(SW_SHOW));
    EXPECT_EQ(page.controlsDrawn, 1);
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);
    EXPECT_EQ(surface.Pixel(300, 100), Opaque(0x60A020));
    EXPECT_EQ(surface.Pixel(339, 129), Opaque(0x60A020));
    EXPECT_EQ(surface.Pixel(340, 110), 0u);  // beyond a smaller background: untouched
    EXPECT_EQ(page.RedrawPage(), 7);

    page.ShowPage(SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(page.GetSafeHwnd()));
    EXPECT_EQ(page.controlsDrawn, 2);
}

TEST(SkinSubDialogTest, PageWithoutSurfaceStillDrawsControlsAndPresents) {
    testkit::HostWindow host;
    TestPage page;
    ASSERT_TRUE(page.Create(host.hwnd()));
    auto background = skintest::SolidImage(40, 30, 0x60A020);
    page.background = background.get();
    host.Clear();
    page.ShowPage(SW_SHOW);
    EXPECT_EQ(page.controlsDrawn, 1);
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);
}

}  // namespace
