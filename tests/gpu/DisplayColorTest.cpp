// The display search behind brightness and contrast, against the in-process fake driver.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "gpu/core/AdlAllocator.h"
#include "gpu/core/DriverOperations.h"
#include "tests/gpu/FakeDriver.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

class DisplayColorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetFake();
        LoadPlausibleCard(Fake());
        entries = FakeEntries();
    }
    void TearDown() override {
        // Every context opened was closed and every display list handed out was released.
        EXPECT_EQ(Fake().openContexts, 0);
        for (void* block : Fake().handedOut) {
            EXPECT_FALSE(AdlAllocationSize(block).has_value());
        }
        ResetFake();
    }

    DriverOperations Ops() const { return DriverOperations(entries); }

    std::vector<std::string> CallsNamed(const std::string& name) const {
        std::vector<std::string> found;
        for (const std::string& call : Fake().calls) {
            if (call.rfind(name + "(", 0) == 0) {
                found.push_back(call);
            }
        }
        return found;
    }

    static FakeAdapter Adapter(int index, std::vector<FakeDisplay> displays) {
        FakeAdapter adapter;
        adapter.index = index;
        adapter.displays = std::move(displays);
        return adapter;
    }
    static FakeDisplay Display(int adapter, int index, int caps) {
        FakeDisplay display;
        display.logicalAdapterIndex = adapter;
        display.logicalIndex = index;
        display.caps = caps;
        return display;
    }

    DriverEntries entries;
};

TEST_F(DisplayColorTest, BrightnessAndContrastUseAdlColorTypesOneAndTwo) {
    ASSERT_TRUE(Ops().SetDisplayColor(ColorKind::Brightness, -20));
    ASSERT_TRUE(Ops().SetDisplayColor(ColorKind::Contrast, 120));
    EXPECT_THAT(
        CallsNamed("ADL_Display_Color_Set"),
        ElementsAre("ADL_Display_Color_Set(0, 0, 1, -20)", "ADL_Display_Color_Set(0, 0, 2, 120)"));
    EXPECT_THAT(CallsNamed("ADL_Main_Control_Create"),
                ElementsAre("ADL_Main_Control_Create(callback, 1)",
                            "ADL_Main_Control_Create(callback, 1)"));
    EXPECT_EQ(CallsNamed("ADL_Main_Control_Destroy").size(), 2u);
}

TEST_F(DisplayColorTest, SearchFollowsTheContractOrder) {
    ASSERT_TRUE(Ops().SetDisplayColor(ColorKind::Contrast, 120));
    EXPECT_THAT(
        Fake().calls,
        ElementsAre("ADL_Main_Control_Create(callback, 1)", "ADL_Adapter_NumberOfAdapters_Get()",
                    "ADL_Adapter_AdapterInfo_Get(1572)", "ADL_Display_DisplayInfo_Get(0, 0)",
                    "ADL_Display_ColorCaps_Get(0, 0)", "ADL_Display_Color_Set(0, 0, 2, 120)",
                    "ADL_Main_Control_Destroy()"));
}

TEST_F(DisplayColorTest, ContrastAddressesTheSecondAdapterWhenOnlyItsDisplaySupportsIt) {
    Fake().adapters = {Adapter(0, {Display(0, 0, kAdlColorBrightness)}),
                       Adapter(1, {Display(1, 1, kAdlColorBrightness | kAdlColorContrast)})};
    ASSERT_TRUE(Ops().SetDisplayColor(ColorKind::Contrast, 80));
    EXPECT_THAT(CallsNamed("ADL_Display_Color_Set"),
                ElementsAre("ADL_Display_Color_Set(1, 1, 2, 80)"));
    EXPECT_THAT(CallsNamed("ADL_Adapter_AdapterInfo_Get"),
                ElementsAre("ADL_Adapter_AdapterInfo_Get(3144)"));

    // Brightness is decided by the first adapter's display.
    ASSERT_TRUE(Ops().SetDisplayColor(ColorKind::Brightness, 5));
    EXPECT_EQ(CallsNamed("ADL_Display_Color_Set").back(), "ADL_Display_Color_Set(0, 0, 1, 5)");
}

TEST_F(DisplayColorTest, FirstQualifyingDisplayDecidesWithoutTryingOthers) {
    Fake().adapters = {Adapter(0, {Display(0, 0, 3), Display(0, 1, 3)}),
                       Adapter(1, {Display(1, 2, 3)})};
    Fake().colorSetResults[{0, 0}] = -3;
    EXPECT_FALSE(Ops().SetDisplayColor(ColorKind::Brightness, 500));
    EXPECT_THAT(CallsNamed("ADL_Display_Color_Set"),
                ElementsAre("ADL_Display_Color_Set(0, 0, 1, 500)"));

    Fake().colorGetResult = -1;
    int32_t values[5] = {7, 7, 7, 7, 7};
    EXPECT_FALSE(Ops().GetDisplayColor(ColorKind::Brightness, values[0], values[1], values[2],
                                       values[3], values[4]));
    EXPECT_EQ(CallsNamed("ADL_Display_Color_Get").size(), 1u);
    // A refused query leaves the caller's values alone.
    EXPECT_THAT(values, ElementsAre(7, 7, 7, 7, 7));
}

TEST_F(DisplayColorTest, GetDisplayColorReturnsTheFiveValues) {
    int32_t current = 0, defaultValue = 0, minimum = 0, maximum = 0, step = 0;
    ASSERT_TRUE(
        Ops().GetDisplayColor(ColorKind::Contrast, current, defaultValue, minimum, maximum, step));
    EXPECT_EQ(CallsNamed("ADL_Display_Color_Get").back(), "ADL_Display_Color_Get(0, 0, 2)");
    EXPECT_EQ(current, 10);
    EXPECT_EQ(defaultValue, 0);
    EXPECT_EQ(minimum, -100);
    EXPECT_EQ(maximum, 100);
    EXPECT_EQ(step, 1);
}

TEST_F(DisplayColorTest, OnlyConnectedMappedDisplaysOfTheirOwnAdapterWithValidCapsQualify) {
    FakeDisplay unmapped = Display(0, 0, 3);
    unmapped.infoValue = kAdlDisplayConnected;
    FakeDisplay disconnected = Display(0, 1, 3);
    disconnected.infoValue = kAdlDisplayMappedToDesktop;
    FakeDisplay foreign = Display(7, 2, 3);  // belongs to another logical adapter
    FakeDisplay invalidCaps = Display(0, 3, 3);
    invalidCaps.valid = kAdlColorBrightness;
    FakeDisplay failingCaps = Display(0, 4, 3);
    failingCaps.capsResult = -1;
    FakeDisplay good = Display(0, 5, 3);
    Fake().adapters = {
        Adapter(0, {unmapped, disconnected, foreign, invalidCaps, failingCaps, good})};

    ASSERT_TRUE(Ops().SetDisplayColor(ColorKind::Contrast, 100));
    EXPECT_THAT(CallsNamed("ADL_Display_Color_Set"),
                ElementsAre("ADL_Display_Color_Set(0, 5, 2, 100)"));
    EXPECT_THAT(CallsNamed("ADL_Display_ColorCaps_Get"),
                ElementsAre("ADL_Display_ColorCaps_Get(0, 3)", "ADL_Display_ColorCaps_Get(0, 4)",
                            "ADL_Display_ColorCaps_Get(0, 5)"));

    Fake().adapters = {Adapter(0, {unmapped})};
    EXPECT_FALSE(Ops().SetDisplayColor(ColorKind::Contrast, 100));
}

TEST_F(DisplayColorTest, AdapterWhoseDisplayQueryFailsIsSkipped) {
    Fake().adapters = {Adapter(0, {Display(0, 0, 3)}), Adapter(1, {Display(1, 1, 3)})};
    Fake().adapters[0].displayInfoResult = -1;
    ASSERT_TRUE(Ops().SetDisplayColor(ColorKind::Brightness, 3));
    EXPECT_THAT(CallsNamed("ADL_Display_Color_Set"),
                ElementsAre("ADL_Display_Color_Set(1, 1, 1, 3)"));
}

TEST_F(DisplayColorTest, EveryAdlEntryMustBePresent) {
    const auto bound = FakeEntries();
    for (int missing = 0; missing < 8; ++missing) {
        entries = bound;
        int index = 0;
        VisitDriverEntries(entries, [&](const char*, DriverLibrary library, auto& entry) {
            if (library == DriverLibrary::Adl && index++ == missing) {
                entry = nullptr;
            }
        });
        Fake().calls.clear();
        EXPECT_FALSE(Ops().SetDisplayColor(ColorKind::Brightness, 0)) << missing;
        int32_t v = 0;
        EXPECT_FALSE(Ops().GetDisplayColor(ColorKind::Brightness, v, v, v, v, v)) << missing;
        EXPECT_THAT(Fake().calls, IsEmpty()) << missing;
    }
}

TEST_F(DisplayColorTest, FailedCreateIsNotFollowedByDestroy) {
    Fake().createResult = -1;
    EXPECT_FALSE(Ops().SetDisplayColor(ColorKind::Brightness, 0));
    EXPECT_THAT(Fake().calls, ElementsAre("ADL_Main_Control_Create(callback, 1)"));
}

TEST_F(DisplayColorTest, EveryPathAfterCreateEndsWithDestroy) {
    Fake().adapterCountResult = -1;
    EXPECT_FALSE(Ops().SetDisplayColor(ColorKind::Brightness, 0));
    EXPECT_EQ(Fake().calls.back(), "ADL_Main_Control_Destroy()");

    Fake().adapterCountResult = 0;
    Fake().adapters = {Adapter(0, {Display(0, 0, 0)})};
    EXPECT_FALSE(Ops().SetDisplayColor(ColorKind::Brightness, 0));
    EXPECT_EQ(Fake().calls.back(), "ADL_Main_Control_Destroy()");
}

TEST_F(DisplayColorTest, HostileAdapterCountsFailBeforeAnyArrayIsSized) {
    for (int count : {0, -1, 257, 100000, INT_MAX, INT_MIN}) {
        Fake().reportedAdapters = count;
        Fake().calls.clear();
        EXPECT_FALSE(Ops().SetDisplayColor(ColorKind::Brightness, 0)) << count;
        EXPECT_THAT(CallsNamed("ADL_Adapter_AdapterInfo_Get"), IsEmpty()) << count;
        EXPECT_EQ(Fake().calls.back(), "ADL_Main_Control_Destroy()");
    }
}

TEST_F(DisplayColorTest, HostileDisplayListsAreSkipped) {
    FakeAdapter nullBuffer = Adapter(0, {Display(0, 0, 3)});
    nullBuffer.nullBuffer = true;
    nullBuffer.reportedDisplays = 3;
    FakeAdapter tooMany = Adapter(1, {Display(1, 1, 3)});
    tooMany.reportedDisplays = 1000000;
    FakeAdapter beyondBuffer = Adapter(2, {Display(2, 2, 3)});
    beyondBuffer.reportedDisplays = 5;  // one display in the buffer
    FakeAdapter negative = Adapter(3, {Display(3, 3, 3)});
    negative.reportedDisplays = -4;
    FakeAdapter foreign = Adapter(4, {Display(4, 4, 3)});
    foreign.foreignBuffer = true;  // not from the callback: neither read nor freed
    Fake().adapters = {nullBuffer, tooMany, beyondBuffer, negative, foreign};

    EXPECT_FALSE(Ops().SetDisplayColor(ColorKind::Brightness, 0));
    EXPECT_THAT(CallsNamed("ADL_Display_ColorCaps_Get"), IsEmpty());
    EXPECT_EQ(CallsNamed("ADL_Display_DisplayInfo_Get").size(), 5u);

    // The same displays with honest lists are found.
    Fake().adapters.push_back(Adapter(5, {Display(5, 5, 3)}));
    EXPECT_TRUE(Ops().SetDisplayColor(ColorKind::Brightness, 0));
    EXPECT_THAT(Fake().calls, Contains("ADL_Display_Color_Set(5, 5, 1, 0)"));
    EXPECT_THAT(Fake().calls, Not(Contains("ADL_Display_ColorCaps_Get(4, 4)")));
}

TEST(AdlAllocatorTest, BlocksAreZeroFilledTrackedAndReleasedOnce) {
    auto* block = static_cast<unsigned char*>(AdlAllocate(64));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(block[i], 0);
    }
    EXPECT_EQ(AdlAllocationSize(block), 64u);
    AdlFree(block);
    EXPECT_FALSE(AdlAllocationSize(block).has_value());

    EXPECT_EQ(AdlAllocate(0), nullptr);
    EXPECT_EQ(AdlAllocate(-8), nullptr);
    int onStack = 0;
    AdlFree(&onStack);  // not ours: ignored rather than handed to the heap
    AdlFree(nullptr);
}

}  // namespace
