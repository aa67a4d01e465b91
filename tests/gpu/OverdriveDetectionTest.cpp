// Choosing the Overdrive backend, finding the card among ADL's adapter records, the program's
// own ADL2 context, and the unit conversions every backend relies on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gpu/core/AdlContext.h"
#include "gpu/core/OverdriveDetection.h"
#include "gpu/core/OverdriveUnits.h"
#include "tests/gpu/FakeAdlContext.h"

namespace {

struct FakeAdapter {
    int index;
    int vendor;
    int active;
    int capsResult;
    int supported;
    int enabled;
    int version;
};

struct AdapterState {
    int countResult = 0;
    int count = 0;
    std::vector<FakeAdapter> adapters;
    int infoCalls = 0;
    std::vector<int> capsAsked;
};

AdapterState& Adapters() {
    static AdapterState state;
    return state;
}

const FakeAdapter* Find(int index) {
    for (const FakeAdapter& adapter : Adapters().adapters) {
        if (adapter.index == index) {
            return &adapter;
        }
    }
    return nullptr;
}

DriverEntries AdapterEntries() {
    DriverEntries entries = fakeadl::ContextEntries();
    entries.ADL2_Adapter_NumberOfAdapters_Get = [](AdlContextHandle handle, int* count) {
        fakeadl::CallScope scope(handle);
        *count = Adapters().count;
        return Adapters().countResult;
    };
    entries.ADL2_Adapter_AdapterInfo_Get = [](AdlContextHandle handle, AdapterInfo* info,
                                              int size) {
        fakeadl::CallScope scope(handle);
        ++Adapters().infoCalls;
        const size_t room = static_cast<size_t>(size) / sizeof(AdapterInfo);
        for (size_t i = 0; i < room && i < Adapters().adapters.size(); ++i) {
            info[i].iAdapterIndex = Adapters().adapters[i].index;
            info[i].iVendorID = Adapters().adapters[i].vendor;
        }
        return 0;
    };
    entries.ADL2_Adapter_Active_Get = [](AdlContextHandle handle, int index, int* active) {
        fakeadl::CallScope scope(handle);
        const FakeAdapter* adapter = Find(index);
        *active = adapter != nullptr ? adapter->active : 0;
        return adapter != nullptr ? 0 : -5;
    };
    entries.ADL2_Overdrive_Caps = [](AdlContextHandle handle, int index, int* supported,
                                     int* enabled, int* version) {
        fakeadl::CallScope scope(handle);
        Adapters().capsAsked.push_back(index);
        const FakeAdapter* adapter = Find(index);
        if (adapter == nullptr || adapter->capsResult != 0) {
            return adapter != nullptr ? adapter->capsResult : -5;
        }
        *supported = adapter->supported;
        *enabled = adapter->enabled;
        *version = adapter->version;
        return 0;
    };
    return entries;
}

class OverdriveDetection : public ::testing::Test {
  protected:
    void SetUp() override {
        fakeadl::ResetContext();
        Adapters() = AdapterState{};
    }
    DriverEntries entries = AdapterEntries();
};

TEST_F(OverdriveDetection, AtidlThatAnswersKeepsTodaysPathWhateverTheDisplayLibrarySays) {
    OverdriveProbe probe;
    probe.atidlAnswers = true;
    probe.adl = AdlOverdriveAnswer{0, true, true, kOverdriveVersion8};
    EXPECT_EQ(ChooseOverdriveGeneration(probe), OverdriveGeneration::Atidl);
}

TEST_F(OverdriveDetection, TheDisplayLibrarysVersionChoosesTheBackendOnlyWhenSupportedAndEnabled) {
    const auto choose = [](bool supported, bool enabled, int version) {
        return ChooseOverdriveGeneration(
            OverdriveProbe{false, AdlOverdriveAnswer{0, supported, enabled, version}});
    };
    EXPECT_EQ(choose(true, true, 5), OverdriveGeneration::Od5);
    EXPECT_EQ(choose(true, true, 6), OverdriveGeneration::Od6);
    EXPECT_EQ(choose(true, true, 7), OverdriveGeneration::OdN);
    EXPECT_EQ(choose(true, true, 8), OverdriveGeneration::Od8);
    // Disabled in the driver, not supported, or a version nobody knows yet: no guessing.
    EXPECT_EQ(choose(true, false, 6), OverdriveGeneration::None);
    EXPECT_EQ(choose(false, true, 6), OverdriveGeneration::None);
    EXPECT_EQ(choose(true, true, 9), OverdriveGeneration::None);
    EXPECT_EQ(choose(true, true, -1), OverdriveGeneration::None);
    EXPECT_EQ(ChooseOverdriveGeneration(OverdriveProbe{}), OverdriveGeneration::None);
}

TEST_F(OverdriveDetection, TheFirstActiveAmdRecordThatAnswersSpeaksForTheCard) {
    Adapters().count = 5;
    Adapters().adapters = {
        {0, 0x1002, 1, 0, 1, 1, 5},  // the vendor read as hexadecimal: not AMD's 1002
        {1, 1002, 0, 0, 1, 1, 6},    // inactive record of the card
        {2, 1002, 1, -8, 0, 0, 0},   // refuses the query
        {3, 1002, 1, 0, 1, 1, 7},   {4, 1002, 1, 0, 1, 1, 8},  // another record of the same card
    };
    AdlContext context(entries);
    const std::optional<AdlOverdriveAnswer> answer = QueryAdlOverdrive(context);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->adapterIndex, 3);
    EXPECT_EQ(answer->version, 7);
    EXPECT_THAT(Adapters().capsAsked, ::testing::ElementsAre(2, 3));
    EXPECT_EQ(fakeadl::Context().strayCalls, 0);
}

TEST_F(OverdriveDetection, HostileAdapterCountsAreNotSizedFrom) {
    for (int count : {0, -5, 100000, 2000000000}) {
        Adapters() = AdapterState{};
        Adapters().count = count;
        AdlContext context(entries);
        EXPECT_FALSE(QueryAdlOverdrive(context)) << count;
        EXPECT_EQ(Adapters().infoCalls, 0) << count;
    }
}

TEST_F(OverdriveDetection, EveryContextOpenedIsDestroyedOnceAndOnlyThose) {
    { AdlContext context(entries); }
    EXPECT_EQ(fakeadl::Context().creates, 1);
    EXPECT_EQ(fakeadl::Context().destroys, 1);
    EXPECT_EQ(fakeadl::Context().destroyedHandle, fakeadl::kHandle);

    fakeadl::ResetContext();
    fakeadl::Context().createResult = -1;
    {
        AdlContext context(entries);
        EXPECT_FALSE(context.opened());
        EXPECT_FALSE(QueryAdlOverdrive(context));
    }
    EXPECT_EQ(fakeadl::Context().destroys, 0);

    // A success without a handle would send the calls to the library's shared context.
    fakeadl::ResetContext();
    fakeadl::Context().createdHandle = nullptr;
    { EXPECT_FALSE(AdlContext(entries).opened()); }
    EXPECT_EQ(fakeadl::Context().destroys, 0);
}

TEST(OverdriveUnits, EveryMHzOfAConvertedRangeIsAClockTheDriverAccepts) {
    for (int32_t minimum = 0; minimum <= 1000; minimum += 7) {
        for (int32_t maximum = minimum; maximum <= 1300; maximum += 13) {
            const std::optional<OverdriveRange> mhz =
                overdrive::MHzRangeFromTenKHz(minimum, maximum);
            const bool holdsWholeMHz = (minimum + 99) / 100 <= maximum / 100 && maximum >= 100;
            ASSERT_EQ(mhz.has_value(), holdsWholeMHz) << minimum << ".." << maximum;
            if (!mhz) {
                continue;
            }
            for (int value = mhz->minimum; value <= mhz->maximum; ++value) {
                const int32_t clock = overdrive::TenKHzFromMHz(value);
                ASSERT_TRUE(clock >= minimum && clock <= maximum) << value;
            }
            EXPECT_LT(overdrive::TenKHzFromMHz(mhz->minimum - 1), minimum);
            EXPECT_GT(overdrive::TenKHzFromMHz(mhz->maximum + 1), maximum);
        }
    }
    EXPECT_FALSE(overdrive::MHzRangeFromTenKHz(90000, 50000));
    EXPECT_FALSE(overdrive::MHzRangeFromTenKHz(-100, 50000));
    EXPECT_EQ(overdrive::TenKHzFromMHz(2000000000), INT32_MAX);
}

TEST(OverdriveUnits, WholeDegreesThatDoNotFitInThousandthsAreNoReading) {
    EXPECT_EQ(overdrive::MilliDegreesFromDegrees(62), 62000);
    EXPECT_EQ(overdrive::MilliDegreesFromDegrees(-15), -15000);
    EXPECT_FALSE(overdrive::MilliDegreesFromDegrees(3000000));
}

}  // namespace
