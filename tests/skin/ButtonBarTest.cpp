// The button bar and the window-less item list.
#include <gtest/gtest.h>

#include "skin/AppMessages.h"
#include "skin/HListBtnBar.h"
#include "skin/UnUIButonList.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"

namespace {

using skintest::Opaque;
using skintest::SendMouse;

constexpr DWORD kAtlas = 0x335577;
constexpr DWORD kLit = 0xEEDD00;

class ButtonBarTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.Create(nullptr));
        HWND hwnd = host.AddChild(L"STATIC", SS_NOTIFY, 95, 260, 203, 67, 1035);
        ASSERT_TRUE(bar.SubclassWindow(hwnd));
        bar.background = atlas.get();
        bar.highlight = lit.get();
        host.Clear();
    }

    testkit::HostWindow host;
    SkinSurface surface;
    CHListBtnBar bar;
    std::unique_ptr<Gdiplus::Bitmap> atlas = skintest::SolidImage(800, 328, kAtlas);
    std::unique_ptr<Gdiplus::Bitmap> lit = skintest::SolidImage(800, 328, kLit);
};

TEST_F(ButtonBarTest, ClearsItsRectangleBeforeDrawing) {
    surface.Fill({0, 0, 800, 328}, 0xFF808080);
    // A background with a transparent hole: the hole must show the cleared surface.
    auto holed = skintest::SolidImage(800, 328, kAtlas);
    for (int x = 150; x < 160; ++x) {
        for (int y = 280; y < 290; ++y) {
            holed->SetPixel(x, y, Gdiplus::Color(0, 0, 0, 0));
        }
    }
    bar.background = holed.get();
    bar.AttachSurface(&surface);
    EXPECT_EQ(surface.Pixel(155, 285), 0u);
    EXPECT_EQ(surface.Pixel(100, 270), Opaque(kAtlas));
    EXPECT_EQ(surface.Pixel(94, 270), 0xFF808080u);  // outside the bar: untouched
    EXPECT_EQ(surface.Pixel(298, 270), 0xFF808080u);
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);
}

TEST_F(ButtonBarTest, ClicksPostTheRegionsCodeAndNothingOutside) {
    bar.AttachSurface(&surface);
    const POINT inside[] = {{20, 25}, {62, 46}, {102, 57}, {142, 56}, {178, 40}};
    for (const POINT& p : inside) {
        SendMouse(bar.GetSafeHwnd(), WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
        SendMouse(bar.GetSafeHwnd(), WM_LBUTTONUP, p.x, p.y);
    }
    SendMouse(bar.GetSafeHwnd(), WM_LBUTTONDOWN, 2, 60, MK_LBUTTON);  // no region
    testkit::PumpMessages();
    const auto posted = host.Of(WM_APP_NAVIGATE);
    ASSERT_EQ(posted.size(), 5u);
    for (size_t i = 0; i < posted.size(); ++i) {
        EXPECT_EQ(posted[i].wParam, 5 + i);
    }
}

TEST_F(ButtonBarTest, HoveredButtonStaysLitInTheGapUntilThePointerLeaves) {
    bar.AttachSurface(&surface);
    SendMouse(bar.GetSafeHwnd(), WM_MOUSEMOVE, 62, 46);
    EXPECT_EQ(bar.hoveredRegion, 2);
    ::SendMessageW(bar.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    // Region 2's bounding box (42, 33)-(84, 61) lit from the highlight atlas.
    EXPECT_EQ(surface.Pixel(95 + 44, 260 + 35), Opaque(kLit));
    EXPECT_EQ(surface.Pixel(95 + 20, 260 + 25), Opaque(kAtlas));
    SendMouse(bar.GetSafeHwnd(), WM_MOUSEMOVE, 2, 60);  // the gap
    EXPECT_EQ(bar.hoveredRegion, 2);
    ::SendMessageW(bar.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(bar.hoveredRegion, 0);
    EXPECT_EQ(surface.Pixel(95 + 44, 260 + 35), Opaque(kAtlas));
}

class ItemListTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.Create(nullptr));
        for (int slot = 0; slot < 24; ++slot) {
            faces[slot] = skintest::SolidImage(98, 17, 0x080000u * static_cast<DWORD>(slot + 1));
        }
        for (auto& row : list.images) {
            for (int slot = 0; slot < 24; ++slot) {
                row[slot] = faces[slot].get();
            }
        }
        list.frame = {384, 80, 485, 270};
        list.surface = &surface;
        list.background = atlas.get();
        list.HandleMouseMessage(host.hwnd(), WM_NULL, 0, 0);  // learns its owner
    }
    int Filter(UINT msg, int x, int y) {
        return list.HandleMouseMessage(host.hwnd(), msg, 0, MAKELPARAM(x, y));
    }

    testkit::HostWindow host;
    SkinSurface surface;
    UnUIButonList list;
    std::unique_ptr<Gdiplus::Bitmap> faces[24];
    std::unique_ptr<Gdiplus::Bitmap> atlas = skintest::SolidImage(800, 328, kAtlas);
};

TEST_F(ItemListTest, HardwarePageLaysOutEightItemsAndDrawsTheirNormalFaces) {
    list.SetPage(4);
    ASSERT_EQ(list.itemCount, 8u);
    EXPECT_EQ(list.itemRects[7].top, 80 + 169);
    EXPECT_EQ(list.itemRects[7].bottom, 80 + 186);
    EXPECT_EQ(surface.Pixel(400, 80 + 37 + 5), Opaque(0x100000));  // item 1, slot 1
    EXPECT_EQ(surface.Pixel(400, 80 + 33), Opaque(kAtlas));        // gap between items
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 1);
}

TEST_F(ItemListTest, ConsumesMouseMessagesOverItemsAndHighlightsTheHoveredOne) {
    list.SetPage(1);  // items at +33, +63, +93, +123
    EXPECT_EQ(Filter(WM_MOUSEMOVE, 400, 80 + 40), 1);
    EXPECT_EQ(list.hoverIndex, 0);
    EXPECT_EQ(surface.Pixel(400, 80 + 40), Opaque(0x480000));  // "M" face: slot 2*4 + 0
    EXPECT_EQ(Filter(WM_LBUTTONUP, 400, 80 + 40), 1);
    // Straight onto the next item: the highlight follows.
    EXPECT_EQ(Filter(WM_MOUSEMOVE, 400, 80 + 70), 1);
    EXPECT_EQ(surface.Pixel(400, 80 + 40), Opaque(0x080000));
    EXPECT_EQ(surface.Pixel(400, 80 + 70), Opaque(0x500000));
    EXPECT_EQ(Filter(WM_MOUSEMOVE, 400, 80 + 5), 0);
    EXPECT_EQ(list.hoverIndex, -1);
    EXPECT_EQ(Filter(WM_LBUTTONDOWN, 400, 80 + 5), 0);
    EXPECT_EQ(Filter(WM_LBUTTONUP, 400, 80 + 5), 0);
    EXPECT_EQ(Filter(WM_RBUTTONDOWN, 400, 80 + 40), 0);
    EXPECT_EQ(Filter(WM_KEYDOWN, 400, 80 + 40), 0);
}

TEST_F(ItemListTest, LeavingTheOwnerDropsTheHighlight) {
    list.SetPage(1);
    EXPECT_EQ(Filter(WM_MOUSEMOVE, 400, 80 + 40), 1);
    ASSERT_EQ(surface.Pixel(400, 80 + 40), Opaque(0x480000));
    // The owner's leave notification is not consumed: the owner may track the pointer too.
    EXPECT_EQ(Filter(WM_MOUSELEAVE, 0, 0), 0);
    EXPECT_EQ(list.hoverIndex, -1);
    EXPECT_EQ(surface.Pixel(400, 80 + 40), Opaque(0x080000));
}

TEST_F(ItemListTest, ClickPostsThePageTypeAndItemIndex) {
    list.SetPage(5);  // items at +30, +57, +84, +111
    EXPECT_EQ(Filter(WM_LBUTTONDOWN, 420, 80 + 90), 1);
    EXPECT_EQ(host.Count(WM_APP_SELECT_ITEM), 0);  // posted, not sent
    testkit::PumpMessages();
    const auto posted = host.Of(WM_APP_SELECT_ITEM);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, 5u);
    EXPECT_EQ(posted[0].lParam, 2);
}

TEST_F(ItemListTest, PageTypeSevenHighlightsButPostsNothing) {
    list.SetPage(7);
    EXPECT_EQ(Filter(WM_MOUSEMOVE, 400, 80 + 35), 1);
    EXPECT_EQ(list.hoverIndex, 0);
    EXPECT_EQ(Filter(WM_LBUTTONDOWN, 400, 80 + 35), 1);
    testkit::PumpMessages();
    EXPECT_EQ(host.Count(WM_APP_SELECT_ITEM), 0);
}

TEST_F(ItemListTest, UnknownPageTypeKeepsTheItemsAndResetsTheHover) {
    list.SetPage(2);
    Filter(WM_MOUSEMOVE, 400, 80 + 35);
    ASSERT_EQ(list.hoverIndex, 0);
    list.SetPage(9);
    EXPECT_EQ(list.itemCount, 3u);
    EXPECT_EQ(list.hoverIndex, -1);
    EXPECT_EQ(list.pageType, 9);
}

TEST_F(ItemListTest, DisabledListDrawsOnlyItsBackgroundAndIgnoresTheMouse) {
    list.SetPage(1);
    list.enabled = false;
    list.Draw();
    EXPECT_EQ(surface.Pixel(400, 80 + 40), Opaque(kAtlas));
    EXPECT_EQ(Filter(WM_LBUTTONDOWN, 400, 80 + 40), 0);
    testkit::PumpMessages();
    EXPECT_EQ(host.Count(WM_APP_SELECT_ITEM), 0);
}

TEST_F(ItemListTest, WithoutSurfaceClicksStillPost) {
    list.surface = nullptr;
    list.SetPage(3);
    EXPECT_EQ(Filter(WM_LBUTTONDOWN, 400, 80 + 31), 1);
    testkit::PumpMessages();
    EXPECT_EQ(host.Count(WM_APP_SELECT_ITEM), 1);
    EXPECT_EQ(host.Count(WM_APP_REFRESH_LAYER), 0);
}

}  // namespace
