// The counts the long runs rely on: every GDI and USER object this process makes shows in them,
// and goes again when it is released. The counting probes Wine's handle tables (see
// tools/guiprobe/GuiObjectCount.h), so a change in how Wine hands out handles fails here.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/Handles.h"
#include "tools/guiprobe/GuiObjectCount.h"

namespace {

using guiprobe::CountGuiObjects;
using guiprobe::GuiObjectKind;

constexpr int kEachKind = 20;

TEST(GuiObjectCount, SeesEveryGdiObjectMadeAndDeleted) {
    const int before = CountGuiObjects(GuiObjectKind::Gdi);
    {
        std::vector<fw::Brush> brushes;
        std::vector<fw::Bitmap> bitmaps;
        std::vector<fw::Region> regions;
        std::vector<fw::MemoryDc> dcs;
        for (int i = 0; i < kEachKind; ++i) {
            brushes.emplace_back(::CreateSolidBrush(RGB(i, 0, 0)));
            bitmaps.emplace_back(::CreateBitmap(4, 4, 1, 32, nullptr));
            regions.emplace_back(::CreateRectRgn(0, 0, i + 1, i + 1));
            dcs.emplace_back(::CreateCompatibleDC(nullptr));
        }
        EXPECT_EQ(CountGuiObjects(GuiObjectKind::Gdi), before + 4 * kEachKind);
    }
    EXPECT_EQ(CountGuiObjects(GuiObjectKind::Gdi), before);
}

// Makes `count` of each kind of USER object this process can own.
struct UserObjects {
    explicit UserObjects(int count) {
        for (int i = 0; i < count; ++i) {
            windows.push_back(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                                nullptr, nullptr, nullptr));
            menus.push_back(::CreateMenu());
            icons.emplace_back(::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)));
            ACCEL accel{FVIRTKEY, static_cast<WORD>('A' + i), static_cast<WORD>(i)};
            tables.push_back(::CreateAcceleratorTableW(&accel, 1));
        }
    }
    ~UserObjects() {
        for (HWND window : windows) {
            ::DestroyWindow(window);
        }
        for (HMENU menu : menus) {
            ::DestroyMenu(menu);
        }
        for (HACCEL table : tables) {
            ::DestroyAcceleratorTable(table);
        }
    }
    UserObjects(const UserObjects&) = delete;
    UserObjects& operator=(const UserObjects&) = delete;

    std::vector<HWND> windows;
    std::vector<HMENU> menus;
    std::vector<fw::Icon> icons;
    std::vector<HACCEL> tables;
};

TEST(GuiObjectCount, SeesThisProcesssWindowsMenusIconsAndAcceleratorTables) {
    // Wine gives a thread that has windows an IME window of its own, and the shared icon stays
    // loaded once loaded: one set made first, and kept, leaves those out of the figures.
    const UserObjects first(1);
    const guiprobe::GuiObjectCounts before = guiprobe::CountAllGuiObjects();
    auto objects = std::make_unique<UserObjects>(kEachKind);
    const guiprobe::GuiObjectCounts during = guiprobe::CountAllGuiObjects();
    EXPECT_EQ(during.of(GuiObjectKind::Windows), before.of(GuiObjectKind::Windows) + kEachKind);
    EXPECT_EQ(during.of(GuiObjectKind::Menus), before.of(GuiObjectKind::Menus) + kEachKind);
    EXPECT_EQ(during.of(GuiObjectKind::Icons), before.of(GuiObjectKind::Icons) + kEachKind);
    EXPECT_EQ(during.of(GuiObjectKind::Accelerators),
              before.of(GuiObjectKind::Accelerators) + kEachKind);
    EXPECT_EQ(during.user(), before.user() + 4 * kEachKind);

    objects.reset();
    const guiprobe::GuiObjectCounts after = guiprobe::CountAllGuiObjects();
    EXPECT_EQ(after.user(), before.user());
    EXPECT_EQ(after.gdi(), before.gdi());
}

}  // namespace
