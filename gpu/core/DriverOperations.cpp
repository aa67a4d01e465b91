#include "gpu/core/DriverOperations.h"

#include <algorithm>
#include <limits>

#include "gpu/core/AdlSession.h"

namespace {

// Every ATIDL call addresses the first adapter.
constexpr int kAdapter = 0;

int32_t RaisedEngineMaximum(int32_t reported) {
    // A hostile maximum near the top of the range must not overflow.
    const int64_t raised = int64_t{reported} + DriverOperations::kEngineHeadroom;
    return static_cast<int32_t>(std::min<int64_t>(raised, std::numeric_limits<int32_t>::max()));
}

int32_t AdlColorType(ColorKind kind) {
    return kind == ColorKind::Contrast ? kAdlColorContrast : kAdlColorBrightness;
}

bool ReadClockInfo(const DriverEntries& entries, ODClockInfo& info) {
    info = ODClockInfo{};
    info.iSize = sizeof(ODClockInfo);
    return entries.ATIDL_GetODClockInfo != nullptr &&
           entries.ATIDL_GetODClockInfo(kAdapter, &info) == 0;
}

}  // namespace

bool DriverOperations::GetOverdriveParameters(ADLODParameters& params) const {
    if (entries_.ATIDL_GetODParameters == nullptr) {
        return false;
    }
    params.iSize = sizeof(ADLODParameters);
    const int result = entries_.ATIDL_GetODParameters(kAdapter, &params, 0);

    ODClockInfo info;
    if (ReadClockInfo(entries_, info)) {
        params.sEngineClock.iMin = info.sEngineClock.iMinimum;
        params.sEngineClock.iMax = RaisedEngineMaximum(info.sEngineClock.iMaximum);
        params.sEngineClock.iStep = info.sEngineClock.iStep;
        params.sMemoryClock.iMin = info.sMemoryClock.iMinimum;
        params.sMemoryClock.iMax = info.sMemoryClock.iMaximum;
        params.sMemoryClock.iStep = info.sMemoryClock.iStep;
    }
    // Callers size a levels record from the count: one outside 1..8 is a failed query.
    return result == 0 && IsValidLevelCount(params.iNumberOfPerformanceLevels);
}

bool DriverOperations::GetPerformanceLevels(bool defaults, ADLODPerformanceLevels& levels) const {
    if (entries_.ATIDL_GetODPerformanceLevels == nullptr) {
        return false;
    }
    ADLODParameters params{};
    if (!GetOverdriveParameters(params)) {
        return false;
    }
    levels.iSize = PerformanceLevelsSize(params.iNumberOfPerformanceLevels);
    const int result =
        entries_.ATIDL_GetODPerformanceLevels(kAdapter, &levels, defaults ? 1 : 0, 0);
    if (defaults) {
        return result == 0;
    }
    ODClockInfo info;
    if (ReadClockInfo(entries_, info)) {
        levels.aLevels[0].iEngineClock = info.sEngineClock.iCurrent;
        levels.aLevels[0].iMemoryClock = info.sMemoryClock.iCurrent;
        return true;
    }
    return result == 0;
}

bool DriverOperations::SetPerformanceClocks(int32_t engineClock, int32_t memoryClock,
                                            int32_t vddc) const {
    if (entries_.ATIDL_SetODPerformanceLevels == nullptr) {
        return false;
    }
    ADLODParameters params{};
    if (!GetOverdriveParameters(params)) {
        return false;
    }
    ADLODPerformanceLevels levels{};
    if (!GetPerformanceLevels(true, levels)) {
        return false;
    }
    levels.iSize = PerformanceLevelsSize(params.iNumberOfPerformanceLevels);
    levels.aLevels[0].iVddc = vddc;
    entries_.ATIDL_SetODPerformanceLevels(kAdapter, &levels, 0);

    if (entries_.ATIDL_SetODClockConfig == nullptr) {
        return false;
    }
    // Word 1 of the configuration has no meaning for the program and is left 0.
    ODClockConfig config{};
    config.iSize = sizeof(ODClockConfig);
    config.iMemoryClock = memoryClock;
    config.iEngineClock = engineClock;
    return entries_.ATIDL_SetODClockConfig(kAdapter, &config) == 0;
}

bool DriverOperations::HasColorEntries() const {
    return entries_.ADL_Main_Control_Create != nullptr &&
           entries_.ADL_Main_Control_Destroy != nullptr &&
           entries_.ADL_Adapter_NumberOfAdapters_Get != nullptr &&
           entries_.ADL_Adapter_AdapterInfo_Get != nullptr &&
           entries_.ADL_Display_DisplayInfo_Get != nullptr &&
           entries_.ADL_Display_ColorCaps_Get != nullptr &&
           entries_.ADL_Display_Color_Get != nullptr && entries_.ADL_Display_Color_Set != nullptr;
}

bool DriverOperations::SetDisplayColor(ColorKind kind, int32_t value) const {
    if (!HasColorEntries()) {
        return false;
    }
    const int32_t type = AdlColorType(kind);
    AdlSession session(entries_);
    const std::optional<AdlDisplayAddress> display = session.FindColorDisplay(type);
    if (!display) {
        return false;
    }
    return entries_.ADL_Display_Color_Set(display->adapterIndex, display->displayIndex, type,
                                          value) == 0;
}

bool DriverOperations::GetDisplayColor(ColorKind kind, int32_t& current, int32_t& defaultValue,
                                       int32_t& minimum, int32_t& maximum, int32_t& step) const {
    if (!HasColorEntries()) {
        return false;
    }
    const int32_t type = AdlColorType(kind);
    AdlSession session(entries_);
    const std::optional<AdlDisplayAddress> display = session.FindColorDisplay(type);
    if (!display) {
        return false;
    }
    int values[5] = {};
    if (entries_.ADL_Display_Color_Get(display->adapterIndex, display->displayIndex, type,
                                       &values[0], &values[1], &values[2], &values[3],
                                       &values[4]) != 0) {
        return false;
    }
    current = values[0];
    defaultValue = values[1];
    minimum = values[2];
    maximum = values[3];
    step = values[4];
    return true;
}
