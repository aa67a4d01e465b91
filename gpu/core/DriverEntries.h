// The table of driver entry points: one function pointer per export the program calls.
// Each entry is null until resolved and stays null when the library lacks the export.
#pragma once

#include "gpu/core/AdlOverdriveRecords.h"
#include "gpu/core/DriverRecords.h"

// The driver's entry points use the C calling convention and ADL's allocation callback the
// standard one; on 64-bit Windows both are the one x64 convention, on 32-bit they differ.
#if defined(_WIN32)
#define VELMORA_CDECL __cdecl
#define VELMORA_STDCALL __stdcall
#else
#define VELMORA_CDECL
#define VELMORA_STDCALL
#endif

using AdlMallocCallback = void*(VELMORA_STDCALL*)(int);

// ATIDL: every call addresses adapter 0 in its first argument.
using AtidlGetODParametersFn = int(VELMORA_CDECL*)(int, ADLODParameters*, int);
using AtidlGetODPerformanceLevelsFn = int(VELMORA_CDECL*)(int, ADLODPerformanceLevels*, int, int);
using AtidlSetODPerformanceLevelsFn = int(VELMORA_CDECL*)(int, ADLODPerformanceLevels*, int);
using AtidlGetODClockInfoFn = int(VELMORA_CDECL*)(int, ODClockInfo*);
using AtidlSetODClockConfigFn = int(VELMORA_CDECL*)(int, ODClockConfig*);
using AtidlGetTemperatureFn = int(VELMORA_CDECL*)(int, int, ADLTemperature*, int);
using AtidlGetFanSpeedInfoFn = int(VELMORA_CDECL*)(int, int, ADLFanSpeedInfo*, int);
using AtidlGetFanSpeedFn = int(VELMORA_CDECL*)(int, int, ADLFanSpeedValue*, int);
using AtidlSetFanSpeedFn = int(VELMORA_CDECL*)(int, int, ADLFanSpeedValue*, int);
using AtidlSetFanSpeedToDefaultFn = int(VELMORA_CDECL*)(int, int, int);
using AtidlGetAvivoSettingsFn = int(VELMORA_CDECL*)(int, int, AvivoSettingRecord*);
using AtidlSetRotationAngleFn = int(VELMORA_CDECL*)(int, int);

// ADL.
using AdlMainControlCreateFn = int(VELMORA_CDECL*)(AdlMallocCallback, int);
using AdlMainControlDestroyFn = int(VELMORA_CDECL*)();
using AdlAdapterNumberOfAdaptersGetFn = int(VELMORA_CDECL*)(int*);
using AdlAdapterAdapterInfoGetFn = int(VELMORA_CDECL*)(AdapterInfo*, int);
using AdlDisplayDisplayInfoGetFn = int(VELMORA_CDECL*)(int, int*, ADLDisplayInfo**, int);
using AdlDisplayColorCapsGetFn = int(VELMORA_CDECL*)(int, int, int*, int*);
using AdlDisplayColorGetFn = int(VELMORA_CDECL*)(int, int, int, int*, int*, int*, int*, int*);
using AdlDisplayColorSetFn = int(VELMORA_CDECL*)(int, int, int, int);

// ADL2: every call names the context it runs in (ADL2_Main_Control_Create), so the program's
// calls never share the library's one legacy context with anybody else in the process.
using AdlContextHandle = void*;
using Adl2MainControlCreateFn = int(VELMORA_CDECL*)(AdlMallocCallback, int, AdlContextHandle*);
using Adl2MainControlDestroyFn = int(VELMORA_CDECL*)(AdlContextHandle);
using Adl2AdapterNumberOfAdaptersGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int*);
using Adl2AdapterAdapterInfoGetFn = int(VELMORA_CDECL*)(AdlContextHandle, AdapterInfo*, int);
using Adl2AdapterActiveGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int*);
using Adl2OverdriveCapsFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int*, int*, int*);

// Overdrive 5 through ADL: adapter, then (where named) thermal controller 0.
using Adl2Od5ParametersGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLODParameters*);
using Adl2Od5PerformanceLevelsGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int,
                                                          ADLODPerformanceLevels*);
using Adl2Od5PerformanceLevelsSetFn = int(VELMORA_CDECL*)(AdlContextHandle, int,
                                                          ADLODPerformanceLevels*);
using Adl2Od5CurrentActivityGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLPMActivity*);
using Adl2Od5TemperatureGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int, ADLTemperature*);
using Adl2Od5FanSpeedInfoGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int, ADLFanSpeedInfo*);
using Adl2Od5FanSpeedGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int, ADLFanSpeedValue*);
using Adl2Od5FanSpeedSetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int, ADLFanSpeedValue*);
using Adl2Od5FanSpeedToDefaultSetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int);

// Overdrive 6.
using Adl2Od6CapabilitiesGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLOD6Capabilities*);
using Adl2Od6StateInfoGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int, ADLOD6StateInfo*);
using Adl2Od6StateSetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int, ADLOD6StateInfo*);
using Adl2Od6StateResetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int);
using Adl2Od6CurrentStatusGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLOD6CurrentStatus*);
using Adl2Od6TemperatureGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int*);
using Adl2Od6ThermalControllerCapsFn = int(VELMORA_CDECL*)(AdlContextHandle, int,
                                                           ADLOD6ThermalControllerCaps*);
using Adl2Od6FanSpeedGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLOD6FanSpeedInfo*);
using Adl2Od6FanSpeedSetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLOD6FanSpeedValue*);
using Adl2Od6FanSpeedResetFn = int(VELMORA_CDECL*)(AdlContextHandle, int);

// OverdriveN.
using Adl2OdnCapabilitiesX2GetFn = int(VELMORA_CDECL*)(AdlContextHandle, int,
                                                       ADLODNCapabilitiesX2*);
using Adl2OdnLevelsX2Fn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLODNPerformanceLevelsX2*);
using Adl2OdnPerformanceStatusGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int,
                                                          ADLODNPerformanceStatus*);
using Adl2OdnTemperatureGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int, int*);
using Adl2OdnFanControlFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLODNFanControl*);

// Overdrive 8 and the performance log. The X2 forms hand out their lists through the
// allocation callback of the context; the caller frees them.
using Adl2Od8InitSettingGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLOD8InitSetting*);
using Adl2Od8InitSettingX2GetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int*, int*,
                                                      ADLOD8SingleInitSetting**);
using Adl2Od8CurrentSettingGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int,
                                                       ADLOD8CurrentSetting*);
using Adl2Od8CurrentSettingX2GetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, int*, int**);
using Adl2Od8SettingSetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLOD8SetSetting*,
                                                ADLOD8CurrentSetting*);
using Adl2PmLogDataGetFn = int(VELMORA_CDECL*)(AdlContextHandle, int, ADLPMLogDataOutput*);

// Members are named exactly as the exports they hold.
struct DriverEntries {
    AtidlGetODParametersFn ATIDL_GetODParameters = nullptr;
    AtidlGetODPerformanceLevelsFn ATIDL_GetODPerformanceLevels = nullptr;
    AtidlSetODPerformanceLevelsFn ATIDL_SetODPerformanceLevels = nullptr;
    AtidlGetODClockInfoFn ATIDL_GetODClockInfo = nullptr;
    AtidlSetODClockConfigFn ATIDL_SetODClockConfig = nullptr;
    AtidlGetTemperatureFn ATIDL_GetTemperature = nullptr;
    AtidlGetFanSpeedInfoFn ATIDL_GetFanSpeedInfo = nullptr;
    AtidlGetFanSpeedFn ATIDL_GetFanSpeed = nullptr;
    AtidlSetFanSpeedFn ATIDL_SetFanSpeed = nullptr;
    AtidlSetFanSpeedToDefaultFn ATIDL_SetFanSpeedToDefault = nullptr;
    AtidlGetAvivoSettingsFn ATIDL_GetAvivoSettings = nullptr;
    AtidlSetRotationAngleFn ATIDL_SetRotationAngle = nullptr;

    AdlMainControlCreateFn ADL_Main_Control_Create = nullptr;
    AdlMainControlDestroyFn ADL_Main_Control_Destroy = nullptr;
    AdlAdapterNumberOfAdaptersGetFn ADL_Adapter_NumberOfAdapters_Get = nullptr;
    AdlAdapterAdapterInfoGetFn ADL_Adapter_AdapterInfo_Get = nullptr;
    AdlDisplayDisplayInfoGetFn ADL_Display_DisplayInfo_Get = nullptr;
    AdlDisplayColorCapsGetFn ADL_Display_ColorCaps_Get = nullptr;
    AdlDisplayColorGetFn ADL_Display_Color_Get = nullptr;
    AdlDisplayColorSetFn ADL_Display_Color_Set = nullptr;

    Adl2MainControlCreateFn ADL2_Main_Control_Create = nullptr;
    Adl2MainControlDestroyFn ADL2_Main_Control_Destroy = nullptr;
    Adl2AdapterNumberOfAdaptersGetFn ADL2_Adapter_NumberOfAdapters_Get = nullptr;
    Adl2AdapterAdapterInfoGetFn ADL2_Adapter_AdapterInfo_Get = nullptr;
    Adl2AdapterActiveGetFn ADL2_Adapter_Active_Get = nullptr;
    Adl2OverdriveCapsFn ADL2_Overdrive_Caps = nullptr;

    Adl2Od5ParametersGetFn ADL2_Overdrive5_ODParameters_Get = nullptr;
    Adl2Od5PerformanceLevelsGetFn ADL2_Overdrive5_ODPerformanceLevels_Get = nullptr;
    Adl2Od5PerformanceLevelsSetFn ADL2_Overdrive5_ODPerformanceLevels_Set = nullptr;
    Adl2Od5CurrentActivityGetFn ADL2_Overdrive5_CurrentActivity_Get = nullptr;
    Adl2Od5TemperatureGetFn ADL2_Overdrive5_Temperature_Get = nullptr;
    Adl2Od5FanSpeedInfoGetFn ADL2_Overdrive5_FanSpeedInfo_Get = nullptr;
    Adl2Od5FanSpeedGetFn ADL2_Overdrive5_FanSpeed_Get = nullptr;
    Adl2Od5FanSpeedSetFn ADL2_Overdrive5_FanSpeed_Set = nullptr;
    Adl2Od5FanSpeedToDefaultSetFn ADL2_Overdrive5_FanSpeedToDefault_Set = nullptr;

    Adl2Od6CapabilitiesGetFn ADL2_Overdrive6_Capabilities_Get = nullptr;
    Adl2Od6StateInfoGetFn ADL2_Overdrive6_StateInfo_Get = nullptr;
    Adl2Od6StateSetFn ADL2_Overdrive6_State_Set = nullptr;
    Adl2Od6StateResetFn ADL2_Overdrive6_State_Reset = nullptr;
    Adl2Od6CurrentStatusGetFn ADL2_Overdrive6_CurrentStatus_Get = nullptr;
    Adl2Od6TemperatureGetFn ADL2_Overdrive6_Temperature_Get = nullptr;
    Adl2Od6ThermalControllerCapsFn ADL2_Overdrive6_ThermalController_Caps = nullptr;
    Adl2Od6FanSpeedGetFn ADL2_Overdrive6_FanSpeed_Get = nullptr;
    Adl2Od6FanSpeedSetFn ADL2_Overdrive6_FanSpeed_Set = nullptr;
    Adl2Od6FanSpeedResetFn ADL2_Overdrive6_FanSpeed_Reset = nullptr;

    Adl2OdnCapabilitiesX2GetFn ADL2_OverdriveN_CapabilitiesX2_Get = nullptr;
    Adl2OdnLevelsX2Fn ADL2_OverdriveN_SystemClocksX2_Get = nullptr;
    Adl2OdnLevelsX2Fn ADL2_OverdriveN_SystemClocksX2_Set = nullptr;
    Adl2OdnLevelsX2Fn ADL2_OverdriveN_MemoryClocksX2_Get = nullptr;
    Adl2OdnLevelsX2Fn ADL2_OverdriveN_MemoryClocksX2_Set = nullptr;
    Adl2OdnPerformanceStatusGetFn ADL2_OverdriveN_PerformanceStatus_Get = nullptr;
    Adl2OdnTemperatureGetFn ADL2_OverdriveN_Temperature_Get = nullptr;
    Adl2OdnFanControlFn ADL2_OverdriveN_FanControl_Get = nullptr;
    Adl2OdnFanControlFn ADL2_OverdriveN_FanControl_Set = nullptr;

    Adl2Od8InitSettingGetFn ADL2_Overdrive8_Init_Setting_Get = nullptr;
    Adl2Od8InitSettingX2GetFn ADL2_Overdrive8_Init_SettingX2_Get = nullptr;
    Adl2Od8CurrentSettingGetFn ADL2_Overdrive8_Current_Setting_Get = nullptr;
    Adl2Od8CurrentSettingX2GetFn ADL2_Overdrive8_Current_SettingX2_Get = nullptr;
    Adl2Od8SettingSetFn ADL2_Overdrive8_Setting_Set = nullptr;
    Adl2PmLogDataGetFn ADL2_New_QueryPMLogData_Get = nullptr;
};

enum class DriverLibrary { Atidl, Adl };

// Calls visit(exportName, library, entry) for every entry of the table, ATIDL entries first,
// where entry is a reference to the member. Used to resolve the table and to inspect it.
template <typename Entries, typename Visitor>
void VisitDriverEntries(Entries& entries, Visitor&& visit) {
    visit("ATIDL_GetODParameters", DriverLibrary::Atidl, entries.ATIDL_GetODParameters);
    visit("ATIDL_GetODPerformanceLevels", DriverLibrary::Atidl,
          entries.ATIDL_GetODPerformanceLevels);
    visit("ATIDL_SetODPerformanceLevels", DriverLibrary::Atidl,
          entries.ATIDL_SetODPerformanceLevels);
    visit("ATIDL_GetODClockInfo", DriverLibrary::Atidl, entries.ATIDL_GetODClockInfo);
    visit("ATIDL_SetODClockConfig", DriverLibrary::Atidl, entries.ATIDL_SetODClockConfig);
    visit("ATIDL_GetTemperature", DriverLibrary::Atidl, entries.ATIDL_GetTemperature);
    visit("ATIDL_GetFanSpeedInfo", DriverLibrary::Atidl, entries.ATIDL_GetFanSpeedInfo);
    visit("ATIDL_GetFanSpeed", DriverLibrary::Atidl, entries.ATIDL_GetFanSpeed);
    visit("ATIDL_SetFanSpeed", DriverLibrary::Atidl, entries.ATIDL_SetFanSpeed);
    visit("ATIDL_SetFanSpeedToDefault", DriverLibrary::Atidl, entries.ATIDL_SetFanSpeedToDefault);
    visit("ATIDL_GetAvivoSettings", DriverLibrary::Atidl, entries.ATIDL_GetAvivoSettings);
    visit("ATIDL_SetRotationAngle", DriverLibrary::Atidl, entries.ATIDL_SetRotationAngle);
    visit("ADL_Main_Control_Create", DriverLibrary::Adl, entries.ADL_Main_Control_Create);
    visit("ADL_Main_Control_Destroy", DriverLibrary::Adl, entries.ADL_Main_Control_Destroy);
    visit("ADL_Adapter_NumberOfAdapters_Get", DriverLibrary::Adl,
          entries.ADL_Adapter_NumberOfAdapters_Get);
    visit("ADL_Adapter_AdapterInfo_Get", DriverLibrary::Adl, entries.ADL_Adapter_AdapterInfo_Get);
    visit("ADL_Display_DisplayInfo_Get", DriverLibrary::Adl, entries.ADL_Display_DisplayInfo_Get);
    visit("ADL_Display_ColorCaps_Get", DriverLibrary::Adl, entries.ADL_Display_ColorCaps_Get);
    visit("ADL_Display_Color_Get", DriverLibrary::Adl, entries.ADL_Display_Color_Get);
    visit("ADL_Display_Color_Set", DriverLibrary::Adl, entries.ADL_Display_Color_Set);
    visit("ADL2_Main_Control_Create", DriverLibrary::Adl, entries.ADL2_Main_Control_Create);
    visit("ADL2_Main_Control_Destroy", DriverLibrary::Adl, entries.ADL2_Main_Control_Destroy);
    visit("ADL2_Adapter_NumberOfAdapters_Get", DriverLibrary::Adl,
          entries.ADL2_Adapter_NumberOfAdapters_Get);
    visit("ADL2_Adapter_AdapterInfo_Get", DriverLibrary::Adl, entries.ADL2_Adapter_AdapterInfo_Get);
    visit("ADL2_Adapter_Active_Get", DriverLibrary::Adl, entries.ADL2_Adapter_Active_Get);
    visit("ADL2_Overdrive_Caps", DriverLibrary::Adl, entries.ADL2_Overdrive_Caps);
    visit("ADL2_Overdrive5_ODParameters_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive5_ODParameters_Get);
    visit("ADL2_Overdrive5_ODPerformanceLevels_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive5_ODPerformanceLevels_Get);
    visit("ADL2_Overdrive5_ODPerformanceLevels_Set", DriverLibrary::Adl,
          entries.ADL2_Overdrive5_ODPerformanceLevels_Set);
    visit("ADL2_Overdrive5_CurrentActivity_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive5_CurrentActivity_Get);
    visit("ADL2_Overdrive5_Temperature_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive5_Temperature_Get);
    visit("ADL2_Overdrive5_FanSpeedInfo_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive5_FanSpeedInfo_Get);
    visit("ADL2_Overdrive5_FanSpeed_Get", DriverLibrary::Adl, entries.ADL2_Overdrive5_FanSpeed_Get);
    visit("ADL2_Overdrive5_FanSpeed_Set", DriverLibrary::Adl, entries.ADL2_Overdrive5_FanSpeed_Set);
    visit("ADL2_Overdrive5_FanSpeedToDefault_Set", DriverLibrary::Adl,
          entries.ADL2_Overdrive5_FanSpeedToDefault_Set);
    visit("ADL2_Overdrive6_Capabilities_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive6_Capabilities_Get);
    visit("ADL2_Overdrive6_StateInfo_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive6_StateInfo_Get);
    visit("ADL2_Overdrive6_State_Set", DriverLibrary::Adl, entries.ADL2_Overdrive6_State_Set);
    visit("ADL2_Overdrive6_State_Reset", DriverLibrary::Adl, entries.ADL2_Overdrive6_State_Reset);
    visit("ADL2_Overdrive6_CurrentStatus_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive6_CurrentStatus_Get);
    visit("ADL2_Overdrive6_Temperature_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive6_Temperature_Get);
    visit("ADL2_Overdrive6_ThermalController_Caps", DriverLibrary::Adl,
          entries.ADL2_Overdrive6_ThermalController_Caps);
    visit("ADL2_Overdrive6_FanSpeed_Get", DriverLibrary::Adl, entries.ADL2_Overdrive6_FanSpeed_Get);
    visit("ADL2_Overdrive6_FanSpeed_Set", DriverLibrary::Adl, entries.ADL2_Overdrive6_FanSpeed_Set);
    visit("ADL2_Overdrive6_FanSpeed_Reset", DriverLibrary::Adl,
          entries.ADL2_Overdrive6_FanSpeed_Reset);
    visit("ADL2_OverdriveN_CapabilitiesX2_Get", DriverLibrary::Adl,
          entries.ADL2_OverdriveN_CapabilitiesX2_Get);
    visit("ADL2_OverdriveN_SystemClocksX2_Get", DriverLibrary::Adl,
          entries.ADL2_OverdriveN_SystemClocksX2_Get);
    visit("ADL2_OverdriveN_SystemClocksX2_Set", DriverLibrary::Adl,
          entries.ADL2_OverdriveN_SystemClocksX2_Set);
    visit("ADL2_OverdriveN_MemoryClocksX2_Get", DriverLibrary::Adl,
          entries.ADL2_OverdriveN_MemoryClocksX2_Get);
    visit("ADL2_OverdriveN_MemoryClocksX2_Set", DriverLibrary::Adl,
          entries.ADL2_OverdriveN_MemoryClocksX2_Set);
    visit("ADL2_OverdriveN_PerformanceStatus_Get", DriverLibrary::Adl,
          entries.ADL2_OverdriveN_PerformanceStatus_Get);
    visit("ADL2_OverdriveN_Temperature_Get", DriverLibrary::Adl,
          entries.ADL2_OverdriveN_Temperature_Get);
    visit("ADL2_OverdriveN_FanControl_Get", DriverLibrary::Adl,
          entries.ADL2_OverdriveN_FanControl_Get);
    visit("ADL2_OverdriveN_FanControl_Set", DriverLibrary::Adl,
          entries.ADL2_OverdriveN_FanControl_Set);
    visit("ADL2_Overdrive8_Init_Setting_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive8_Init_Setting_Get);
    visit("ADL2_Overdrive8_Init_SettingX2_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive8_Init_SettingX2_Get);
    visit("ADL2_Overdrive8_Current_Setting_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive8_Current_Setting_Get);
    visit("ADL2_Overdrive8_Current_SettingX2_Get", DriverLibrary::Adl,
          entries.ADL2_Overdrive8_Current_SettingX2_Get);
    visit("ADL2_Overdrive8_Setting_Set", DriverLibrary::Adl, entries.ADL2_Overdrive8_Setting_Set);
    visit("ADL2_New_QueryPMLogData_Get", DriverLibrary::Adl, entries.ADL2_New_QueryPMLogData_Get);
}
