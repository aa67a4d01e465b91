#include "gpu/core/AdlSession.h"

#include <memory>
#include <vector>

namespace {

struct AdlFreeDeleter {
    void operator()(ADLDisplayInfo* block) const { AdlFree(block); }
};
using DisplayInfoBuffer = std::unique_ptr<ADLDisplayInfo, AdlFreeDeleter>;

bool IsConnectedAndMapped(const ADLDisplayInfo& display) {
    constexpr int32_t kWanted = kAdlDisplayConnected | kAdlDisplayMappedToDesktop;
    return (display.iDisplayInfoValue & kWanted) == kWanted;
}

}  // namespace

AdlSession::AdlSession(const DriverEntries& entries) : entries_(entries) {
    opened_ = entries_.ADL_Main_Control_Create != nullptr &&
              entries_.ADL_Main_Control_Create(AdlAllocate, 1) == 0;
}

AdlSession::~AdlSession() {
    if (opened_ && entries_.ADL_Main_Control_Destroy != nullptr) {
        entries_.ADL_Main_Control_Destroy();
    }
}

std::optional<AdlDisplayAddress> AdlSession::FindColorDisplay(int colorType) const {
    if (!opened_) {
        return std::nullopt;
    }
    int count = 0;
    if (entries_.ADL_Adapter_NumberOfAdapters_Get(&count) != 0) {
        return std::nullopt;
    }
    if (count < 1 || count > kMaxAdlAdapters) {
        return std::nullopt;
    }
    std::vector<AdapterInfo> adapters(static_cast<size_t>(count));
    entries_.ADL_Adapter_AdapterInfo_Get(adapters.data(),
                                         count * static_cast<int>(sizeof(AdapterInfo)));
    for (const AdapterInfo& adapter : adapters) {
        if (std::optional<int> display = FindOnAdapter(adapter.iAdapterIndex, colorType)) {
            return AdlDisplayAddress{adapter.iAdapterIndex, *display};
        }
    }
    return std::nullopt;
}

std::optional<int> AdlSession::FindOnAdapter(int adapterIndex, int colorType) const {
    int count = 0;
    ADLDisplayInfo* raw = nullptr;
    const int result = entries_.ADL_Display_DisplayInfo_Get(adapterIndex, &count, &raw, 0);
    // Whatever ADL allocated through AdlAllocate is ours to release, success or not.
    DisplayInfoBuffer displays(raw);
    if (result != 0 || !displays || count < 1 || count > kMaxAdlDisplaysPerAdapter) {
        return std::nullopt;
    }
    // The list must lie within a block ADL obtained from AdlAllocate.
    const std::optional<size_t> bytes = AdlAllocationSize(raw);
    if (!bytes || *bytes / sizeof(ADLDisplayInfo) < static_cast<size_t>(count)) {
        return std::nullopt;
    }
    for (int i = 0; i < count; ++i) {
        const ADLDisplayInfo& display = displays.get()[i];
        if (!IsConnectedAndMapped(display) ||
            display.displayID.iDisplayLogicalAdapterIndex != adapterIndex) {
            continue;
        }
        const int displayIndex = display.displayID.iDisplayLogicalIndex;
        int caps = 0;
        int valid = 0;
        if (entries_.ADL_Display_ColorCaps_Get(adapterIndex, displayIndex, &caps, &valid) != 0) {
            continue;
        }
        if ((caps & valid & colorType) != 0) {
            return displayIndex;
        }
    }
    return std::nullopt;
}
