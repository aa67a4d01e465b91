// The table of driver entry points: one function pointer per export the program calls.
// Each entry is null until resolved and stays null when the library lacks the export.
#pragma once

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
}
