// Records exchanged with the AMD driver libraries (ATIDL and ADL), in their published layouts.
// Every field is a little-endian 32-bit signed integer unless it is a text array; the first word
// of the size-carrying records is filled in by the caller before the call.
#pragma once

#include <cstddef>
#include <cstdint>

// Clocks are in units of 10 kHz, voltages in millivolts, temperatures in thousandths of a degree.

struct ADLODParameterRange {
    int32_t iMin;
    int32_t iMax;
    int32_t iStep;
};

struct ADLODParameters {
    int32_t iSize;
    int32_t iNumberOfPerformanceLevels;
    int32_t iActivityReportingSupported;
    int32_t iDiscretePerformanceLevels;
    int32_t iReserved;
    ADLODParameterRange sEngineClock;
    ADLODParameterRange sMemoryClock;
    ADLODParameterRange sVddc;
};

struct ADLODPerformanceLevel {
    int32_t iEngineClock;
    int32_t iMemoryClock;
    int32_t iVddc;
};

// The driver reports between one and eight performance levels; a count outside that range is
// treated as a failed query, so a record with room for eight levels fits every valid adapter.
inline constexpr int kMaxPerformanceLevels = 8;

// The published record ends in a variable array of levels; this one carries the largest valid
// count. Its size word is 8 + 12 * n for the adapter's n levels (PerformanceLevelsSize).
struct ADLODPerformanceLevels {
    int32_t iSize;
    int32_t iReserved;
    ADLODPerformanceLevel aLevels[kMaxPerformanceLevels];
};

constexpr int32_t PerformanceLevelsSize(int32_t levelCount) {
    return static_cast<int32_t>(offsetof(ADLODPerformanceLevels, aLevels) +
                                sizeof(ADLODPerformanceLevel) * static_cast<uint32_t>(levelCount));
}

constexpr bool IsValidLevelCount(int32_t levelCount) {
    return levelCount >= 1 && levelCount <= kMaxPerformanceLevels;
}

// One clock block of ODClockInfo: {not read, current, maximum, minimum, not read, step}.
struct ODClockBlock {
    int32_t iUnused0;
    int32_t iCurrent;
    int32_t iMaximum;
    int32_t iMinimum;
    int32_t iUnused4;
    int32_t iStep;
};

// Filled by ATIDL_GetODClockInfo.
struct ODClockInfo {
    int32_t iSize;
    int32_t iReserved;
    ODClockBlock sMemoryClock;
    ODClockBlock sEngineClock;
};

// Passed to ATIDL_SetODClockConfig.
struct ODClockConfig {
    int32_t iSize;
    int32_t iReserved;
    int32_t iMemoryClock;
    int32_t iEngineClock;
};

struct ADLTemperature {
    int32_t iSize;
    int32_t iTemperature;
};

struct ADLFanSpeedInfo {
    int32_t iSize;
    int32_t iFlags;
    int32_t iMinPercent;
    int32_t iMaxPercent;
    int32_t iMinRPM;
    int32_t iMaxRPM;
};

inline constexpr int32_t kFanSpeedInfoQueryFlags = 5;

struct ADLFanSpeedValue {
    int32_t iSize;
    int32_t iSpeedType;
    int32_t iFanSpeed;
    int32_t iFlags;
};

inline constexpr int32_t kFanSpeedTypePercent = 1;
inline constexpr int32_t kFanSpeedTypeRpm = 2;
inline constexpr int32_t kFanSpeedFlagUserDefined = 1;

// Filled by ATIDL_GetAvivoSettings; words 2-5 are a value with its range.
struct AvivoSettingRecord {
    int32_t iSize;
    int32_t iReserved1;
    int32_t iReference;
    int32_t iMinimum;
    int32_t iMaximum;
    int32_t iStep;
    int32_t iReserved6;
    int32_t iReserved7;
    int32_t iReserved8;
};

inline constexpr int kAdlMaxPath = 256;

struct AdapterInfo {
    int32_t iSize;
    int32_t iAdapterIndex;
    char strUDID[kAdlMaxPath];
    int32_t iBusNumber;
    int32_t iDeviceNumber;
    int32_t iFunctionNumber;
    int32_t iVendorID;
    char strAdapterName[kAdlMaxPath];
    char strDisplayName[kAdlMaxPath];
    int32_t iPresent;
    int32_t iExist;
    char strDriverPath[kAdlMaxPath];
    char strDriverPathExt[kAdlMaxPath];
    char strPNPString[kAdlMaxPath];
    int32_t iOSDisplayIndex;
};

struct ADLDisplayID {
    int32_t iDisplayLogicalIndex;
    int32_t iDisplayPhysicalIndex;
    int32_t iDisplayLogicalAdapterIndex;
    int32_t iDisplayPhysicalAdapterIndex;
};

struct ADLDisplayInfo {
    ADLDisplayID displayID;
    int32_t iDisplayControllerIndex;
    char strDisplayName[kAdlMaxPath];
    char strDisplayManufacturerName[kAdlMaxPath];
    int32_t iDisplayType;
    int32_t iDisplayOutputType;
    int32_t iDisplayConnector;
    int32_t iDisplayInfoMask;
    int32_t iDisplayInfoValue;
};

// Bits of ADLDisplayInfo::iDisplayInfoValue.
inline constexpr int32_t kAdlDisplayConnected = 1;
inline constexpr int32_t kAdlDisplayMappedToDesktop = 2;

// ADL colour types, also the bits of the colour capabilities.
inline constexpr int32_t kAdlColorBrightness = 1;
inline constexpr int32_t kAdlColorContrast = 2;

// The ADL colour that GetDisplayColor and SetDisplayColor address.
enum class ColorKind : int32_t { Brightness = 0, Contrast = 1 };

static_assert(sizeof(ADLODParameters) == 56);
static_assert(offsetof(ADLODParameters, iNumberOfPerformanceLevels) == 4);
static_assert(offsetof(ADLODParameters, sEngineClock) == 20);
static_assert(offsetof(ADLODParameters, sMemoryClock) == 32);
static_assert(offsetof(ADLODParameters, sVddc) == 44);

static_assert(sizeof(ADLODPerformanceLevel) == 12);
static_assert(offsetof(ADLODPerformanceLevels, aLevels) == 8);
static_assert(PerformanceLevelsSize(1) == 8 + 12);
static_assert(sizeof(ADLODPerformanceLevels) == PerformanceLevelsSize(kMaxPerformanceLevels));

static_assert(sizeof(ODClockInfo) == 56);
static_assert(offsetof(ODClockInfo, sMemoryClock.iCurrent) == 12);
static_assert(offsetof(ODClockInfo, sMemoryClock.iMaximum) == 16);
static_assert(offsetof(ODClockInfo, sMemoryClock.iMinimum) == 20);
static_assert(offsetof(ODClockInfo, sMemoryClock.iStep) == 28);
static_assert(offsetof(ODClockInfo, sEngineClock.iCurrent) == 36);
static_assert(offsetof(ODClockInfo, sEngineClock.iMaximum) == 40);
static_assert(offsetof(ODClockInfo, sEngineClock.iMinimum) == 44);
static_assert(offsetof(ODClockInfo, sEngineClock.iStep) == 52);

static_assert(sizeof(ODClockConfig) == 16);
static_assert(offsetof(ODClockConfig, iMemoryClock) == 8);
static_assert(offsetof(ODClockConfig, iEngineClock) == 12);

static_assert(sizeof(ADLTemperature) == 8);
static_assert(sizeof(ADLFanSpeedInfo) == 24);
static_assert(offsetof(ADLFanSpeedInfo, iMinPercent) == 8);
static_assert(offsetof(ADLFanSpeedInfo, iMaxPercent) == 12);
static_assert(sizeof(ADLFanSpeedValue) == 16);
static_assert(offsetof(ADLFanSpeedValue, iFanSpeed) == 8);

static_assert(sizeof(AvivoSettingRecord) == 36);
static_assert(offsetof(AvivoSettingRecord, iReference) == 8);
static_assert(offsetof(AvivoSettingRecord, iStep) == 20);

static_assert(sizeof(AdapterInfo) == 1572);
static_assert(offsetof(AdapterInfo, iAdapterIndex) == 4);

static_assert(sizeof(ADLDisplayInfo) == 552);
static_assert(offsetof(ADLDisplayInfo, displayID.iDisplayLogicalIndex) == 0);
static_assert(offsetof(ADLDisplayInfo, displayID.iDisplayLogicalAdapterIndex) == 8);
static_assert(offsetof(ADLDisplayInfo, iDisplayInfoValue) == 548);
