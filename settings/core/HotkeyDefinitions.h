// The seventeen hotkeys: the key of the settings file's "HotKey" section that stores each, the
// identifier it is registered under and what it does. Rows are in identifier order, which is
// also the order of the keys in the file (memory before fan). The settings, the shortcut page
// and the main window's registration and dispatch all take them from here.
#pragma once

#include <array>
#include <cstddef>

namespace hotkeys {

inline constexpr std::size_t kCount = 17;
inline constexpr int kIdBase = 1000;
inline constexpr const wchar_t* kSection = L"HotKey";

// What a hotkey does: a preset, or a number of steps of one slider (negative steps down).
enum class Target { QualityPreset, ThreeDPreset, CoreClock, MemoryClock, FanSpeed };
struct Action {
    Target target;
    int argument;  // the preset's mode number, or the signed step count
};

struct Definition {
    const wchar_t* key;
    int id;
    Action action;
};

// "3D_HDMode" selects 3D mode 1 and "3D_GameMode" 3D mode 2.
// clang-format off
inline constexpr std::array<Definition, kCount> kTable = {{
    {L"Quality_NormalMode", 1000, {Target::QualityPreset, 0}},
    {L"Quality_WorkMode",   1001, {Target::QualityPreset, 1}},
    {L"Quality_GameMode",   1002, {Target::QualityPreset, 2}},
    {L"Quality_PicMode",    1003, {Target::QualityPreset, 3}},
    {L"3D_WorkMode",        1004, {Target::ThreeDPreset, 0}},
    {L"3D_HDMode",          1005, {Target::ThreeDPreset, 1}},
    {L"3D_GameMode",        1006, {Target::ThreeDPreset, 2}},
    {L"GPU1Add1",           1007, {Target::CoreClock, 10}},
    {L"GPU1Add2",           1008, {Target::CoreClock, 1}},
    {L"GPU1Sub1",           1009, {Target::CoreClock, -10}},
    {L"GPU1Sub2",           1010, {Target::CoreClock, -1}},
    {L"GPU2Add1",           1011, {Target::MemoryClock, 10}},
    {L"GPU2Add2",           1012, {Target::MemoryClock, 1}},
    {L"GPU2Sub1",           1013, {Target::MemoryClock, -10}},
    {L"GPU2Sub2",           1014, {Target::MemoryClock, -1}},
    {L"GPU3Add1",           1015, {Target::FanSpeed, 5}},
    {L"GPU3Sub1",           1016, {Target::FanSpeed, -5}},
}};
// clang-format on

// The index of a hotkey's value in the settings record (and its key in the file's order).
constexpr std::size_t SettingsSlot(const Definition& definition) {
    return static_cast<std::size_t>(definition.id - kIdBase);
}

// The definition of a hotkey identifier, or null.
constexpr const Definition* Find(int id) {
    for (const Definition& definition : kTable) {
        if (definition.id == id) {
            return &definition;
        }
    }
    return nullptr;
}

}  // namespace hotkeys
