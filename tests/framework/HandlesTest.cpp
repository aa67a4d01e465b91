// The owning handle types release exactly once and restore what they replaced.
#include "framework/Handles.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(UniqueHandle, MoveTransfersOwnershipAndResetCloses) {
    fw::KernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    HANDLE raw = event.get();
    fw::KernelHandle moved(std::move(event));
    // A moved-from owner is empty by design: that is what is tested here.
    EXPECT_FALSE(event);  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(moved.get(), raw);
    DWORD flags = 0;
    EXPECT_TRUE(::GetHandleInformation(raw, &flags));
    moved.reset();
    EXPECT_FALSE(::GetHandleInformation(raw, &flags));  // closed
}

TEST(ScopedSelect, PutsThePreviousObjectBack) {
    fw::WindowDc screen(nullptr);
    ASSERT_TRUE(screen);
    fw::MemoryDc dc(::CreateCompatibleDC(screen.get()));
    fw::DibSection bits(screen.get(), 4, 4);
    ASSERT_TRUE(bits);
    HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
        fw::ScopedSelect select(dc.get(), bits.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), bits.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BITMAP), before);
}

TEST(DibSection, IsTopDownAllZeroAndBoundsItsRows) {
    fw::WindowDc screen(nullptr);
    fw::DibSection bits(screen.get(), 800, 328);
    ASSERT_TRUE(bits);
    EXPECT_EQ(bits.width(), 800);
    EXPECT_EQ(bits.height(), 328);
    for (int y : {0, 327}) {
        ASSERT_NE(bits.row(y), nullptr);
        EXPECT_EQ(bits.row(y)[0], 0u);
        EXPECT_EQ(bits.row(y)[799], 0u);
    }
    // A pixel GDI draws on the top line is in row 0, not in the last row.
    fw::MemoryDc dc(::CreateCompatibleDC(screen.get()));
    {
        fw::ScopedSelect select(dc.get(), bits.get());
        ::SetPixelV(dc.get(), 3, 0, RGB(0x12, 0x34, 0x56));
        ::GdiFlush();
    }
    EXPECT_EQ(bits.row(0)[3] & 0xFFFFFFu, 0x123456u);
    EXPECT_EQ(bits.row(327)[3], 0u);
    EXPECT_EQ(bits.row(-1), nullptr);
    EXPECT_EQ(bits.row(328), nullptr);
}

}  // namespace
