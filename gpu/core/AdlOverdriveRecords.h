// Records of the display library's Overdrive interfaces (5, 6, N and 8) and of its performance
// log, in the layouts of the public ADL SDK: include/adl_structures.h (records) and
// include/adl_defines.h (codes and bits). Every field is a little-endian 32-bit signed integer.
// Records that end in a variable array carry the room this program asks for; the comment at
// each says how the count and the size word relate.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gpu/core/DriverRecords.h"

// adl_defines.h, define_adl_results.
inline constexpr int kAdlOk = 0;
inline constexpr int kAdlErr = -1;
inline constexpr int kAdlErrInvalidParam = -3;
inline constexpr int kAdlErrNotSupported = -8;

// AdapterInfo::iVendorID holds the PCI vendor as the decimal number 1002, not 0x1002 (the SDK's
// Overdrive sample compares it with its AMDVENDORID 1002).
inline constexpr int32_t kAdlAmdVendorId = 1002;

// Versions ADL2_Overdrive_Caps reports (the SDK samples: 5, 6, 7 for OverdriveN, 8).
inline constexpr int kOverdriveVersion5 = 5;
inline constexpr int kOverdriveVersion6 = 6;
inline constexpr int kOverdriveVersionN = 7;
inline constexpr int kOverdriveVersion8 = 8;

// ---- Overdrive 5 ----------------------------------------------------------------------------

// adl_structures.h ADLPMActivity: filled by ADL2_Overdrive5_CurrentActivity_Get. Clocks in
// 10 kHz, Vddc in millivolts.
struct ADLPMActivity {
    int32_t iSize;
    int32_t iEngineClock;
    int32_t iMemoryClock;
    int32_t iVddc;
    int32_t iActivityPercent;
    int32_t iCurrentPerformanceLevel;
    int32_t iCurrentBusSpeed;
    int32_t iCurrentBusLanes;
    int32_t iMaximumBusLanes;
    int32_t iReserved;
};

// adl_defines.h define_fanctrl: ADLFanSpeedInfo::iFlags.
inline constexpr int32_t kAdlFanSupportsPercentRead = 1;
inline constexpr int32_t kAdlFanSupportsPercentWrite = 2;

// ---- Overdrive 6 ----------------------------------------------------------------------------

// adl_structures.h ADLOD6ParameterRange. Clocks in 10 kHz.
struct ADLOD6ParameterRange {
    int32_t iMin;
    int32_t iMax;
    int32_t iStep;
};

// adl_structures.h ADLOD6Capabilities.
struct ADLOD6Capabilities {
    int32_t iCapabilities;
    int32_t iSupportedStates;
    int32_t iNumberOfPerformanceLevels;
    ADLOD6ParameterRange sEngineClockRange;
    ADLOD6ParameterRange sMemoryClockRange;
    int32_t iExtValue;
    int32_t iExtMask;
};

// adl_defines.h define_overdrive6_capabilities.
inline constexpr int32_t kAdlOd6CapabilityEngineClock = 0x1;
inline constexpr int32_t kAdlOd6CapabilityMemoryClock = 0x2;

// adl_structures.h ADLOD6PerformanceLevel.
struct ADLOD6PerformanceLevel {
    int32_t iEngineClock;
    int32_t iMemoryClock;
};

// Overdrive 6 describes its clocks as a range of two levels, minimum and maximum
// (adl_structures.h ADLOD6Capabilities::iNumberOfPerformanceLevels "will always use 2 levels").
inline constexpr int32_t kOd6LevelCount = 2;

// adl_structures.h ADLOD6StateInfo. The published record ends in aLevels[1] and has no size
// word: the caller allocates room for the levels it names in iNumberOfPerformanceLevels. This
// one always holds the two levels Overdrive 6 uses.
struct ADLOD6StateInfo {
    int32_t iNumberOfPerformanceLevels;
    int32_t iExtValue;
    int32_t iExtMask;
    ADLOD6PerformanceLevel aLevels[kOd6LevelCount];
};

// adl_defines.h define_overdrive6_getstateinfo and define_overdrive6_setstate.
inline constexpr int kAdlOd6StateDefaultPerformance = 1;
inline constexpr int kAdlOd6StateCurrent = 3;
inline constexpr int kAdlOd6StateCustomPerformance = 4;
inline constexpr int kAdlOd6SetStatePerformance = 1;

// adl_structures.h ADLOD6CurrentStatus: clocks "in 10 KHz".
struct ADLOD6CurrentStatus {
    int32_t iEngineClock;
    int32_t iMemoryClock;
    int32_t iActivityPercent;
    int32_t iCurrentPerformanceLevel;
    int32_t iCurrentBusSpeed;
    int32_t iCurrentBusLanes;
    int32_t iMaximumBusLanes;
    int32_t iExtValue;
    int32_t iExtMask;
};

// adl_structures.h ADLOD6ThermalControllerCaps.
struct ADLOD6ThermalControllerCaps {
    int32_t iCapabilities;
    int32_t iFanMinPercent;
    int32_t iFanMaxPercent;
    int32_t iFanMinRPM;
    int32_t iFanMaxRPM;
    int32_t iExtValue;
    int32_t iExtMask;
};

// adl_defines.h define_overdrive6_thermalcontroller_caps.
inline constexpr int32_t kAdlOd6FanSpeedControl = 0x2;
inline constexpr int32_t kAdlOd6FanPercentRead = 0x100;
inline constexpr int32_t kAdlOd6FanPercentWrite = 0x200;

// adl_structures.h ADLOD6FanSpeedInfo.
struct ADLOD6FanSpeedInfo {
    int32_t iSpeedType;
    int32_t iFanSpeedPercent;
    int32_t iFanSpeedRPM;
    int32_t iExtValue;
    int32_t iExtMask;
};

// adl_structures.h ADLOD6FanSpeedValue.
struct ADLOD6FanSpeedValue {
    int32_t iSpeedType;
    int32_t iFanSpeed;
    int32_t iExtValue;
    int32_t iExtMask;
};

// adl_defines.h define_overdrive6_fanspeed_type.
inline constexpr int32_t kAdlOd6FanSpeedTypePercent = 0x1;

// ---- OverdriveN (version 7) -----------------------------------------------------------------

// adl_structures.h ADLODNParameterRange.
struct ADLODNParameterRange {
    int32_t iMode;
    int32_t iMin;
    int32_t iMax;
    int32_t iStep;
    int32_t iDefault;
};

// adl_structures.h ADLODNCapabilitiesX2.
struct ADLODNCapabilitiesX2 {
    int32_t iMaximumNumberOfPerformanceLevels;
    int32_t iFlags;
    ADLODNParameterRange sEngineClockRange;
    ADLODNParameterRange sMemoryClockRange;
    ADLODNParameterRange svddcRange;
    ADLODNParameterRange power;
    ADLODNParameterRange powerTuneTemperature;
    ADLODNParameterRange fanTemperature;
    ADLODNParameterRange fanSpeed;
    ADLODNParameterRange minimumPerformanceClock;
    ADLODNParameterRange throttleNotificaion;
    ADLODNParameterRange autoSystemClock;
};

// adl_defines.h ADLODNFeatureControl: ADLODNCapabilitiesX2::iFlags.
inline constexpr int32_t kAdlOdnEngineClockLevels = 1 << 0;
inline constexpr int32_t kAdlOdnMemoryClockLevels = 1 << 1;
inline constexpr int32_t kAdlOdnEngineVoltage = 1 << 2;

// adl_defines.h ADLODNDPMMaskType: ADLODNPerformanceLevelX2::iControl, what a level lets change.
inline constexpr int32_t kAdlOdnLevelClock = 1 << 0;
inline constexpr int32_t kAdlOdnLevelVddc = 1 << 1;

// adl_defines.h ADLODNControlType. On a read, iMode asks for the current (0) or default (1)
// levels; on a write, manual (3) applies the levels and default (1) restores the driver's.
inline constexpr int32_t kAdlOdnModeCurrent = 0;
inline constexpr int32_t kAdlOdnModeDefault = 1;
inline constexpr int32_t kAdlOdnModeAuto = 2;
inline constexpr int32_t kAdlOdnModeManual = 3;

// adl_defines.h ADLODNTemperatureType: the core temperature.
inline constexpr int kAdlOdnTemperatureCore = 1;

// adl_structures.h ADLODNPerformanceLevelX2.
struct ADLODNPerformanceLevelX2 {
    int32_t iClock;
    int32_t iVddc;
    int32_t iEnabled;
    int32_t iControl;
};

// Real cards report eight engine levels and up to four memory levels; a count outside
// 1..kMaxOdnLevels is treated as a failed query.
inline constexpr int kMaxOdnLevels = 16;

// adl_structures.h ADLODNPerformanceLevelsX2. Its size comment names the Overdrive 5 records;
// the size it means is this record with one level plus n - 1 more (OdnLevelsSize), which is
// what the SDK's OverdriveN sample allocates. This one has room for kMaxOdnLevels.
struct ADLODNPerformanceLevelsX2 {
    int32_t iSize;
    int32_t iMode;
    int32_t iNumberOfPerformanceLevels;
    ADLODNPerformanceLevelX2 aLevels[kMaxOdnLevels];
};

constexpr int32_t OdnLevelsSize(int32_t levelCount) {
    return static_cast<int32_t>(offsetof(ADLODNPerformanceLevelsX2, aLevels) +
                                sizeof(ADLODNPerformanceLevelX2) *
                                    static_cast<uint32_t>(levelCount));
}

// adl_structures.h ADLODNPerformanceStatus.
struct ADLODNPerformanceStatus {
    int32_t iCoreClock;
    int32_t iMemoryClock;
    int32_t iDCEFClock;
    int32_t iGFXClock;
    int32_t iUVDClock;
    int32_t iVCEClock;
    int32_t iGPUActivityPercent;
    int32_t iCurrentCorePerformanceLevel;
    int32_t iCurrentMemoryPerformanceLevel;
    int32_t iCurrentDCEFPerformanceLevel;
    int32_t iCurrentGFXPerformanceLevel;
    int32_t iUVDPerformanceLevel;
    int32_t iVCEPerformanceLevel;
    int32_t iCurrentBusSpeed;
    int32_t iCurrentBusLanes;
    int32_t iMaximumBusLanes;
    int32_t iVDDC;
    int32_t iVDDCI;
};

// adl_structures.h ADLODNFanControl. Its speed fields are documented neither as percent nor as
// RPM; the program only switches it back to automatic.
struct ADLODNFanControl {
    int32_t iMode;
    int32_t iFanControlMode;
    int32_t iCurrentFanSpeedMode;
    int32_t iCurrentFanSpeed;
    int32_t iTargetFanSpeed;
    int32_t iTargetTemperature;
    int32_t iMinPerformanceClock;
    int32_t iMinFanLimit;
};

// ---- Overdrive 8 ----------------------------------------------------------------------------

// adl_defines.h ADLOD8SettingId, the settings this program reads or writes. Clocks in MHz.
inline constexpr int kOd8GfxClockMax = 0;            // OD8_GFXCLK_FMAX
inline constexpr int kOd8MemoryClockMax = 8;         // OD8_UCLK_FMAX
inline constexpr int kOd8FanMinimumSpeed = 10;       // OD8_FAN_MIN_SPEED
inline constexpr int kOd8FanAcousticLimit = 11;      // OD8_FAN_ACOUSTIC_LIMIT
inline constexpr int kOd8FanTargetTemperature = 12;  // OD8_FAN_TARGET_TEMP
inline constexpr int kOd8FanCurveFirst = 19;         // OD8_FAN_CURVE_TEMPERATURE_1
inline constexpr int kOd8FanCurveLast = 28;          // OD8_FAN_CURVE_SPEED_5

// adl_defines.h ADLOD8FeatureControl: the capability bits of ADLOD8InitSetting.
inline constexpr int32_t kAdlOd8GfxClockLimits = 1 << 0;
inline constexpr int32_t kAdlOd8MemoryClockMax = 1 << 2;
inline constexpr int32_t kAdlOd8AcousticLimit = 1 << 4;
inline constexpr int32_t kAdlOd8FanSpeedMinimum = 1 << 5;
inline constexpr int32_t kAdlOd8FanTargetTemperature = 1 << 6;
inline constexpr int32_t kAdlOd8FanCurve = 1 << 13;

// OD8_COUNT has grown with every SDK version (52 settings in the SDK this was written against).
// The fixed records carry room for this many settings and say so in their count word; a
// driver's answer is read only up to the count it reports, and never past this room.
inline constexpr int kOd8SettingRoom = 96;

// adl_structures.h ADLOD8SingleInitSetting.
struct ADLOD8SingleInitSetting {
    int32_t featureID;
    int32_t minValue;
    int32_t maxValue;
    int32_t defaultValue;
};

// adl_structures.h ADLOD8InitSetting, with room for kOd8SettingRoom settings.
struct ADLOD8InitSetting {
    int32_t count;
    int32_t overdrive8Capabilities;
    ADLOD8SingleInitSetting od8SettingTable[kOd8SettingRoom];
};

// adl_structures.h ADLOD8CurrentSetting, with room for kOd8SettingRoom settings.
struct ADLOD8CurrentSetting {
    int32_t count;
    int32_t Od8SettingTable[kOd8SettingRoom];
};

// adl_structures.h ADLOD8SingleSetSetting: requested 1 changes the setting, reset 1 puts its
// default back.
struct ADLOD8SingleSetSetting {
    int32_t value;
    int32_t requested;
    int32_t reset;
};

// adl_structures.h ADLOD8SetSetting, with room for kOd8SettingRoom settings.
struct ADLOD8SetSetting {
    int32_t count;
    ADLOD8SingleSetSetting od8SettingTable[kOd8SettingRoom];
};

// ---- Performance log ------------------------------------------------------------------------

// adl_defines.h ADL_PMLOG_MAX_SENSORS, a fixed 256 since the sensor list outgrew its enum.
inline constexpr int kAdlPmLogMaxSensors = 256;

// adl_defines.h ADL_PMLOG_SENSORS: "Current graphic clock value in MHz", memory clock in MHz,
// "Current edge of the die temperature value in C" (whole degrees).
inline constexpr int kAdlPmLogGfxClock = 1;
inline constexpr int kAdlPmLogMemoryClock = 2;
inline constexpr int kAdlPmLogTemperatureEdge = 8;
inline constexpr int kAdlPmLogGfxActivity = 19;  // percent

// adl_structures.h ADLSingleSensorData.
struct ADLSingleSensorData {
    int32_t supported;
    int32_t value;
};

// adl_structures.h ADLPMLogDataOutput, filled by ADL2_New_QueryPMLogData_Get.
struct ADLPMLogDataOutput {
    int32_t size;
    ADLSingleSensorData sensors[kAdlPmLogMaxSensors];
};

static_assert(sizeof(ADLPMActivity) == 40);
static_assert(offsetof(ADLPMActivity, iEngineClock) == 4);
static_assert(offsetof(ADLPMActivity, iMemoryClock) == 8);

static_assert(sizeof(ADLOD6Capabilities) == 44);
static_assert(offsetof(ADLOD6Capabilities, iNumberOfPerformanceLevels) == 8);
static_assert(offsetof(ADLOD6Capabilities, sEngineClockRange) == 12);
static_assert(offsetof(ADLOD6Capabilities, sMemoryClockRange) == 24);
static_assert(offsetof(ADLOD6StateInfo, aLevels) == 12);
static_assert(sizeof(ADLOD6StateInfo) == 12 + 8 * kOd6LevelCount);
static_assert(sizeof(ADLOD6CurrentStatus) == 36);
static_assert(sizeof(ADLOD6ThermalControllerCaps) == 28);
static_assert(offsetof(ADLOD6ThermalControllerCaps, iFanMinPercent) == 4);
static_assert(sizeof(ADLOD6FanSpeedInfo) == 20);
static_assert(offsetof(ADLOD6FanSpeedInfo, iFanSpeedPercent) == 4);
static_assert(sizeof(ADLOD6FanSpeedValue) == 16);

static_assert(sizeof(ADLODNParameterRange) == 20);
static_assert(offsetof(ADLODNParameterRange, iMin) == 4);
static_assert(sizeof(ADLODNCapabilitiesX2) == 208);
static_assert(offsetof(ADLODNCapabilitiesX2, sEngineClockRange) == 8);
static_assert(offsetof(ADLODNCapabilitiesX2, sMemoryClockRange) == 28);
static_assert(offsetof(ADLODNCapabilitiesX2, svddcRange) == 48);
static_assert(sizeof(ADLODNPerformanceLevelX2) == 16);
static_assert(offsetof(ADLODNPerformanceLevelsX2, aLevels) == 12);
static_assert(OdnLevelsSize(1) == 28);
static_assert(sizeof(ADLODNPerformanceLevelsX2) == OdnLevelsSize(kMaxOdnLevels));
static_assert(sizeof(ADLODNPerformanceStatus) == 72);
static_assert(offsetof(ADLODNPerformanceStatus, iMemoryClock) == 4);
static_assert(sizeof(ADLODNFanControl) == 32);

static_assert(sizeof(ADLOD8SingleInitSetting) == 16);
static_assert(offsetof(ADLOD8InitSetting, od8SettingTable) == 8);
static_assert(sizeof(ADLOD8InitSetting) == 8 + 16 * kOd8SettingRoom);
static_assert(offsetof(ADLOD8CurrentSetting, Od8SettingTable) == 4);
static_assert(sizeof(ADLOD8CurrentSetting) == 4 + 4 * kOd8SettingRoom);
static_assert(sizeof(ADLOD8SingleSetSetting) == 12);
static_assert(offsetof(ADLOD8SetSetting, od8SettingTable) == 4);
static_assert(sizeof(ADLOD8SetSetting) == 4 + 12 * kOd8SettingRoom);

static_assert(sizeof(ADLSingleSensorData) == 8);
static_assert(offsetof(ADLPMLogDataOutput, sensors) == 4);
static_assert(sizeof(ADLPMLogDataOutput) == 4 + 8 * kAdlPmLogMaxSensors);
