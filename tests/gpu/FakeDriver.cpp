#include "tests/gpu/FakeDriver.h"

#include <algorithm>
#include <cstring>

namespace {

FakeDriver g_fake;
// Display lists the fake hands out without the callback.
ADLDisplayInfo g_foreignDisplays[4];

std::string Join(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) {
            text += ", ";
        }
        text += part;
    }
    return text;
}

std::string Words(const void* record, size_t bytes) {
    std::string text = "{";
    for (size_t i = 0; i < bytes / 4; ++i) {
        int32_t word = 0;
        std::memcpy(&word, static_cast<const char*>(record) + 4 * i, 4);
        if (i > 0) {
            text += ", ";
        }
        text += std::to_string(word);
    }
    return text + "}";
}

void Record(const std::string& name, const std::string& arguments) {
    g_fake.calls.push_back(name + "(" + arguments + ")");
}

using std::to_string;

int VELMORA_CDECL GetODParameters(int adapter, ADLODParameters* params, int reserved) {
    Record("ATIDL_GetODParameters",
           Join({to_string(adapter), to_string(params->iSize), to_string(reserved)}));
    const int32_t size = params->iSize;
    *params = g_fake.parameters;
    params->iSize = size;
    return g_fake.parametersResult;
}

int VELMORA_CDECL GetODPerformanceLevels(int adapter, ADLODPerformanceLevels* levels, int defaults,
                                         int reserved) {
    Record("ATIDL_GetODPerformanceLevels", Join({to_string(adapter), to_string(levels->iSize),
                                                 to_string(defaults), to_string(reserved)}));
    const auto& source = defaults ? g_fake.defaultLevels : g_fake.currentLevels;
    const size_t room = static_cast<size_t>(std::max(levels->iSize - 8, 0)) / 12;
    // Filled even when refusing, as a careless driver might: the caller must not read it then.
    for (size_t i = 0; i < source.size() && i < room; ++i) {
        levels->aLevels[i] = source[i];
    }
    return defaults ? g_fake.levelsResult
                    : g_fake.currentLevelsResult.value_or(g_fake.levelsResult);
}

int VELMORA_CDECL SetODPerformanceLevels(int adapter, ADLODPerformanceLevels* levels,
                                         int reserved) {
    Record("ATIDL_SetODPerformanceLevels",
           Join({to_string(adapter),
                 Words(levels, static_cast<size_t>(std::clamp(levels->iSize, 8, 104))),
                 to_string(reserved)}));
    const size_t count = static_cast<size_t>(std::clamp(levels->iSize - 8, 0, 96)) / 12;
    g_fake.writtenLevels.assign(levels->aLevels, levels->aLevels + count);
    if (g_fake.setLevelsResult >= 0) {
        g_fake.currentLevels = g_fake.writtenLevels;
    }
    return g_fake.setLevelsResult;
}

int VELMORA_CDECL GetODClockInfo(int adapter, ODClockInfo* info) {
    Record("ATIDL_GetODClockInfo", Join({to_string(adapter), to_string(info->iSize)}));
    const int32_t size = info->iSize;
    *info = g_fake.clockInfo;
    info->iSize = size;
    return g_fake.clockInfoResult;
}

int VELMORA_CDECL SetODClockConfig(int adapter, ODClockConfig* config) {
    Record("ATIDL_SetODClockConfig", Join({to_string(adapter), Words(config, sizeof(*config))}));
    g_fake.writtenClockConfig = *config;
    if (g_fake.clockConfigResult >= 0) {
        g_fake.clockInfo.sEngineClock.iCurrent = config->iEngineClock;
        g_fake.clockInfo.sMemoryClock.iCurrent = config->iMemoryClock;
    }
    return g_fake.clockConfigResult;
}

int VELMORA_CDECL MainControlCreate(AdlMallocCallback allocate, int connectedOnly) {
    Record("ADL_Main_Control_Create",
           Join({allocate ? "callback" : "null", to_string(connectedOnly)}));
    if (g_fake.createResult == 0) {
        g_fake.allocate = allocate;
        ++g_fake.openContexts;
    }
    return g_fake.createResult;
}

int VELMORA_CDECL MainControlDestroy() {
    Record("ADL_Main_Control_Destroy", "");
    --g_fake.openContexts;
    return 0;
}

int VELMORA_CDECL NumberOfAdaptersGet(int* count) {
    Record("ADL_Adapter_NumberOfAdapters_Get", "");
    *count = g_fake.reportedAdapters.value_or(static_cast<int>(g_fake.adapters.size()));
    return g_fake.adapterCountResult;
}

int VELMORA_CDECL AdapterInfoGet(AdapterInfo* info, int size) {
    Record("ADL_Adapter_AdapterInfo_Get", to_string(size));
    const size_t room = static_cast<size_t>(size) / sizeof(AdapterInfo);
    for (size_t i = 0; i < room && i < g_fake.adapters.size(); ++i) {
        info[i].iSize = sizeof(AdapterInfo);
        info[i].iAdapterIndex = g_fake.adapters[i].index;
    }
    return 0;
}

int VELMORA_CDECL DisplayInfoGet(int adapterIndex, int* count, ADLDisplayInfo** info,
                                 int forceDetect) {
    Record("ADL_Display_DisplayInfo_Get", Join({to_string(adapterIndex), to_string(forceDetect)}));
    for (const FakeAdapter& adapter : g_fake.adapters) {
        if (adapter.index != adapterIndex) {
            continue;
        }
        if (adapter.displayInfoResult != 0) {
            return adapter.displayInfoResult;
        }
        size_t n = adapter.displays.size();
        *count = adapter.reportedDisplays.value_or(static_cast<int>(n));
        ADLDisplayInfo* buffer = nullptr;
        if (adapter.foreignBuffer) {
            buffer = g_foreignDisplays;
            n = std::min<size_t>(n, 4);
        } else if (!adapter.nullBuffer && n > 0) {
            buffer = static_cast<ADLDisplayInfo*>(
                g_fake.allocate(static_cast<int>(n * sizeof(ADLDisplayInfo))));
            g_fake.handedOut.push_back(buffer);
        }
        for (size_t i = 0; buffer != nullptr && i < n; ++i) {
            buffer[i].displayID.iDisplayLogicalIndex = adapter.displays[i].logicalIndex;
            buffer[i].displayID.iDisplayLogicalAdapterIndex =
                adapter.displays[i].logicalAdapterIndex;
            buffer[i].iDisplayInfoValue = adapter.displays[i].infoValue;
        }
        *info = buffer;
        return 0;
    }
    return -5;
}

const FakeDisplay* FindDisplay(int adapterIndex, int displayIndex) {
    for (const FakeAdapter& adapter : g_fake.adapters) {
        for (const FakeDisplay& display : adapter.displays) {
            if (adapter.index == adapterIndex && display.logicalIndex == displayIndex) {
                return &display;
            }
        }
    }
    return nullptr;
}

int VELMORA_CDECL ColorCapsGet(int adapterIndex, int displayIndex, int* caps, int* valid) {
    Record("ADL_Display_ColorCaps_Get", Join({to_string(adapterIndex), to_string(displayIndex)}));
    const FakeDisplay* display = FindDisplay(adapterIndex, displayIndex);
    if (display == nullptr) {
        return -3;
    }
    *caps = display->caps;
    *valid = display->valid;
    return display->capsResult;
}

int VELMORA_CDECL ColorGet(int adapterIndex, int displayIndex, int type, int* current,
                           int* defaultValue, int* minimum, int* maximum, int* step) {
    Record("ADL_Display_Color_Get",
           Join({to_string(adapterIndex), to_string(displayIndex), to_string(type)}));
    int* outputs[5] = {current, defaultValue, minimum, maximum, step};
    for (int i = 0; i < 5; ++i) {
        *outputs[i] = g_fake.colorValues[i];
    }
    return g_fake.colorGetResult;
}

int VELMORA_CDECL ColorSet(int adapterIndex, int displayIndex, int type, int value) {
    Record("ADL_Display_Color_Set", Join({to_string(adapterIndex), to_string(displayIndex),
                                          to_string(type), to_string(value)}));
    const auto found = g_fake.colorSetResults.find({adapterIndex, displayIndex});
    return found == g_fake.colorSetResults.end() ? 0 : found->second;
}

}  // namespace

FakeDriver& Fake() {
    return g_fake;
}

void ResetFake() {
    g_fake = FakeDriver{};
    std::memset(g_foreignDisplays, 0, sizeof(g_foreignDisplays));
}

void LoadPlausibleCard(FakeDriver& fake) {
    fake.parameters.iNumberOfPerformanceLevels = 3;
    fake.parameters.sEngineClock = {50000, 80000, 500};
    fake.parameters.sMemoryClock = {90000, 120000, 500};
    fake.parameters.sVddc = {900, 1300, 25};
    fake.clockInfo.sMemoryClock = {0, 100000, 120000, 90000, 0, 1000};
    fake.clockInfo.sEngineClock = {0, 70000, 80000, 50000, 0, 1000};
    fake.defaultLevels = {{70000, 100000, 1150}, {50000, 100000, 1050}, {30000, 90000, 950}};
    fake.currentLevels = {{68000, 99000, 1100}, {50000, 100000, 1050}, {30000, 90000, 950}};
    FakeAdapter adapter;
    adapter.displays.push_back(FakeDisplay{});
    fake.adapters.push_back(adapter);
}

DriverEntries FakeEntries() {
    DriverEntries entries;
    entries.ATIDL_GetODParameters = GetODParameters;
    entries.ATIDL_GetODPerformanceLevels = GetODPerformanceLevels;
    entries.ATIDL_SetODPerformanceLevels = SetODPerformanceLevels;
    entries.ATIDL_GetODClockInfo = GetODClockInfo;
    entries.ATIDL_SetODClockConfig = SetODClockConfig;
    entries.ADL_Main_Control_Create = MainControlCreate;
    entries.ADL_Main_Control_Destroy = MainControlDestroy;
    entries.ADL_Adapter_NumberOfAdapters_Get = NumberOfAdaptersGet;
    entries.ADL_Adapter_AdapterInfo_Get = AdapterInfoGet;
    entries.ADL_Display_DisplayInfo_Get = DisplayInfoGet;
    entries.ADL_Display_ColorCaps_Get = ColorCapsGet;
    entries.ADL_Display_Color_Get = ColorGet;
    entries.ADL_Display_Color_Set = ColorSet;
    return entries;
}
