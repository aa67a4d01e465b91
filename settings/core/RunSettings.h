// The one in-memory settings record. Every persistent setting of the program lives here; the
// loader fills it once at start-up and the pages read and change it on the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/core/HotkeyDefinitions.h"

inline constexpr std::size_t kQualityModeCount = 4;  // standard, work, game, picture viewing
inline constexpr std::size_t kThreeDModeCount = 3;
inline constexpr std::size_t kThreeDSwitchCount = 6;

struct AppSettings {
    std::int32_t RunValue;  // autostart choice of the options dialog, 0..4
    bool ExitKeep;          // save settings at exit
};

struct ClockSettings {
    std::int32_t GPUFrequency;  // MHz
    std::int32_t GPUVoltage;    // driver voltage unit
    std::int32_t Mem;           // MHz
    std::int32_t Fan;           // percent (the overclocking page clamps it)
    bool SelFan;                // automatic fan control
    // Which Overdrive backend the values were saved on: 0 the driver's ATIDL library (also a
    // file without the key), 5, 6, 7 or 8 the display library's Overdrive generation.
    std::int32_t Overdrive;
    // Not a key: whether the file holds a "Clock_Set" section with keys (read at load, or
    // written since). Without one every key reads 0, which is no choice of the user's.
    bool Saved;
};

struct ThreeDPreset {
    bool Set[kThreeDSwitchCount];  // keys "Set1".."Set6"
};

struct QualityPreset {
    std::int32_t Camma;     // gamma slider value
    std::int32_t Light;     // brightness slider value
    std::int32_t Contrast;  // contrast slider value
};

struct DisplaySettings {
    std::int32_t ColorQuality;
    std::int32_t Desktoparea;
    std::int32_t RefreshRate;
    std::int32_t Rotation;
};

// One encoded key combination per hotkey (byte 3 Shift, byte 2 Ctrl, byte 1 Alt, byte 0 the
// virtual key); 0 = none. Index i belongs to hotkey identifier 1000 + i.
struct HotkeySettings {
    std::int32_t Keys[hotkeys::kCount];  // in identifier order
};

struct PageSelection {
    std::int32_t QualityPage;     // last quality mode; readers treat values above 3 as 0
    std::int32_t ThreeDInfoPage;  // last 3D mode; readers treat values above 2 as 0
};

struct RunSettings {
    AppSettings App;
    ClockSettings Clock;
    ThreeDPreset ThreeD[kThreeDModeCount];     // "3DInfo_Work", "3DInfo_Game", "3DInfo_HD"
    QualityPreset Quality[kQualityModeCount];  // "Quality_Standard", _Work, _Game, _Picture
    DisplaySettings Display;
    HotkeySettings Hotkeys;
    PageSelection Pages;
};

// The process-wide record: zero-filled until LoadRunConfig runs.
extern RunSettings g_runSettings;
