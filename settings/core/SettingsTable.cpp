#include "settings/core/SettingsTable.h"

#include <array>
#include <utility>

#include "settings/core/HotkeyDefinitions.h"

namespace {

using G = SettingsGroup;

#define VELMORA_INT(member) [](RunSettings& s) { return SettingFieldRef{&s.member, nullptr}; }
#define VELMORA_ON_OFF(member) [](RunSettings& s) { return SettingFieldRef{nullptr, &s.member}; }

constexpr std::array kBeforeHotkeys = {
    SettingField{G::App, L"SettingInfo", L"RunValue", VELMORA_INT(App.RunValue)},
    SettingField{G::App, L"SettingInfo", L"ExitKeep", VELMORA_ON_OFF(App.ExitKeep)},

    SettingField{G::Clock, L"Clock_Set", L"GPUFrequency", VELMORA_INT(Clock.GPUFrequency)},
    SettingField{G::Clock, L"Clock_Set", L"GPUVoltage", VELMORA_INT(Clock.GPUVoltage)},
    SettingField{G::Clock, L"Clock_Set", L"Mem", VELMORA_INT(Clock.Mem)},
    SettingField{G::Clock, L"Clock_Set", L"Fan", VELMORA_INT(Clock.Fan)},
    SettingField{G::Clock, L"Clock_Set", L"SelFan", VELMORA_ON_OFF(Clock.SelFan)},
    SettingField{G::Clock, L"Clock_Set", L"Overdrive", VELMORA_INT(Clock.Overdrive), true},

    // 3D mode 1 lives in "3DInfo_Game" and mode 2 in "3DInfo_HD".
    SettingField{G::ThreeD, L"3DInfo_Work", L"Set1", VELMORA_ON_OFF(ThreeD[0].Set[0])},
    SettingField{G::ThreeD, L"3DInfo_Work", L"Set2", VELMORA_ON_OFF(ThreeD[0].Set[1])},
    SettingField{G::ThreeD, L"3DInfo_Work", L"Set3", VELMORA_ON_OFF(ThreeD[0].Set[2])},
    SettingField{G::ThreeD, L"3DInfo_Work", L"Set4", VELMORA_ON_OFF(ThreeD[0].Set[3])},
    SettingField{G::ThreeD, L"3DInfo_Work", L"Set5", VELMORA_ON_OFF(ThreeD[0].Set[4])},
    SettingField{G::ThreeD, L"3DInfo_Work", L"Set6", VELMORA_ON_OFF(ThreeD[0].Set[5])},
    SettingField{G::ThreeD, L"3DInfo_Game", L"Set1", VELMORA_ON_OFF(ThreeD[1].Set[0])},
    SettingField{G::ThreeD, L"3DInfo_Game", L"Set2", VELMORA_ON_OFF(ThreeD[1].Set[1])},
    SettingField{G::ThreeD, L"3DInfo_Game", L"Set3", VELMORA_ON_OFF(ThreeD[1].Set[2])},
    SettingField{G::ThreeD, L"3DInfo_Game", L"Set4", VELMORA_ON_OFF(ThreeD[1].Set[3])},
    SettingField{G::ThreeD, L"3DInfo_Game", L"Set5", VELMORA_ON_OFF(ThreeD[1].Set[4])},
    SettingField{G::ThreeD, L"3DInfo_Game", L"Set6", VELMORA_ON_OFF(ThreeD[1].Set[5])},
    SettingField{G::ThreeD, L"3DInfo_HD", L"Set1", VELMORA_ON_OFF(ThreeD[2].Set[0])},
    SettingField{G::ThreeD, L"3DInfo_HD", L"Set2", VELMORA_ON_OFF(ThreeD[2].Set[1])},
    SettingField{G::ThreeD, L"3DInfo_HD", L"Set3", VELMORA_ON_OFF(ThreeD[2].Set[2])},
    SettingField{G::ThreeD, L"3DInfo_HD", L"Set4", VELMORA_ON_OFF(ThreeD[2].Set[3])},
    SettingField{G::ThreeD, L"3DInfo_HD", L"Set5", VELMORA_ON_OFF(ThreeD[2].Set[4])},
    SettingField{G::ThreeD, L"3DInfo_HD", L"Set6", VELMORA_ON_OFF(ThreeD[2].Set[5])},

    SettingField{G::Quality, L"Quality_Standard", L"Camma", VELMORA_INT(Quality[0].Camma)},
    SettingField{G::Quality, L"Quality_Standard", L"Light", VELMORA_INT(Quality[0].Light)},
    SettingField{G::Quality, L"Quality_Standard", L"Contrast", VELMORA_INT(Quality[0].Contrast)},
    SettingField{G::Quality, L"Quality_Work", L"Camma", VELMORA_INT(Quality[1].Camma)},
    SettingField{G::Quality, L"Quality_Work", L"Light", VELMORA_INT(Quality[1].Light)},
    SettingField{G::Quality, L"Quality_Work", L"Contrast", VELMORA_INT(Quality[1].Contrast)},
    SettingField{G::Quality, L"Quality_Game", L"Camma", VELMORA_INT(Quality[2].Camma)},
    SettingField{G::Quality, L"Quality_Game", L"Light", VELMORA_INT(Quality[2].Light)},
    SettingField{G::Quality, L"Quality_Game", L"Contrast", VELMORA_INT(Quality[2].Contrast)},
    SettingField{G::Quality, L"Quality_Picture", L"Camma", VELMORA_INT(Quality[3].Camma)},
    SettingField{G::Quality, L"Quality_Picture", L"Light", VELMORA_INT(Quality[3].Light)},
    SettingField{G::Quality, L"Quality_Picture", L"Contrast", VELMORA_INT(Quality[3].Contrast)},

    SettingField{G::Display, L"Display", L"ColorQuality", VELMORA_INT(Display.ColorQuality)},
    SettingField{G::Display, L"Display", L"Desktoparea", VELMORA_INT(Display.Desktoparea)},
    SettingField{G::Display, L"Display", L"RefreshRate", VELMORA_INT(Display.RefreshRate)},
    SettingField{G::Display, L"Display", L"Rotation", VELMORA_INT(Display.Rotation)},
};

constexpr std::array kAfterHotkeys = {
    SettingField{G::Pages, L"SelPage", L"QualityPage", VELMORA_INT(Pages.QualityPage)},
    SettingField{G::Pages, L"SelPage", L"3DInfoPage", VELMORA_INT(Pages.ThreeDInfoPage)},
};

#undef VELMORA_INT
#undef VELMORA_ON_OFF

// The "HotKey" rows come from the hotkey definitions, in their (identifier) order: row i holds
// hotkey identifier 1000 + i.

template <std::size_t I>
SettingFieldRef HotkeyField(RunSettings& s) {
    return {&s.Hotkeys.Keys[I], nullptr};
}

template <std::size_t... I>
constexpr std::array<SettingField, sizeof...(I)> HotkeyRows(std::index_sequence<I...>) {
    return {
        SettingField{G::Hotkeys, hotkeys::kSection, hotkeys::kTable[I].key, &HotkeyField<I>}...};
}

template <std::size_t A, std::size_t B, std::size_t C>
constexpr std::array<SettingField, A + B + C> Join(const std::array<SettingField, A>& a,
                                                   const std::array<SettingField, B>& b,
                                                   const std::array<SettingField, C>& c) {
    std::array<SettingField, A + B + C> all{};
    std::size_t n = 0;
    for (const SettingField& row : a) {
        all[n++] = row;
    }
    for (const SettingField& row : b) {
        all[n++] = row;
    }
    for (const SettingField& row : c) {
        all[n++] = row;
    }
    return all;
}

constexpr auto kFields =
    Join(kBeforeHotkeys, HotkeyRows(std::make_index_sequence<hotkeys::kCount>{}), kAfterHotkeys);

}  // namespace

std::span<const SettingField> SettingFields() {
    return kFields;
}

std::int32_t FileValue(const SettingField& row, RunSettings& settings) {
    const SettingFieldRef ref = row.field(settings);
    if (ref.integer != nullptr) {
        return *ref.integer;
    }
    return ref.onOff != nullptr && *ref.onOff ? 1 : 0;
}

void StoreFileValue(const SettingField& row, RunSettings& settings, std::int32_t value) {
    const SettingFieldRef ref = row.field(settings);
    if (ref.integer != nullptr) {
        *ref.integer = value;
    } else if (ref.onOff != nullptr) {
        *ref.onOff = value != 0;
    }
}
