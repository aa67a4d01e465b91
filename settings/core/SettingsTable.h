// The layout of the settings file as one table: every (section, key) pair with the field of
// RunSettings it holds and the section writer it belongs to. The loader reads the table in order;
// each writer writes its own rows in order. Names and order live here and nowhere else.
#pragma once

#include "settings/core/RunSettings.h"

#include <cstdint>
#include <span>

// One group per section writer.
enum class SettingsGroup {
    App,      // SaveAppSettings
    Clock,    // SaveClockSettings
    ThreeD,   // SaveThreeDPresets
    Quality,  // SaveQualityPresets
    Display,  // SaveDisplaySettings
    Hotkeys,  // SaveHotkeys
    Pages,    // SavePageSelection
};

// Exactly one of the two pointers is set: an integer key or an on/off key.
struct SettingFieldRef {
    std::int32_t* integer;
    bool* onOff;
};

struct SettingField {
    SettingsGroup group;
    const wchar_t* section;
    const wchar_t* key;
    SettingFieldRef (*field)(RunSettings&);
    // A key added after files were already saved, whose absence means 0: a 0 is written by
    // removing the key, so a file saved as before stays as it was.
    bool absentWhenZero = false;
};

// Every row, in the order the loader reads them.
std::span<const SettingField> SettingFields();

// The number the file holds for this row: integers as they are, on/off as 1 or 0.
std::int32_t FileValue(const SettingField& row, RunSettings& settings);
// Stores a number read from the file: integers as read, on/off as on when non-zero.
void StoreFileValue(const SettingField& row, RunSettings& settings, std::int32_t value);
