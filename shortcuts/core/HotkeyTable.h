// The seventeen hotkeys in one table: the field of the shortcut page that edits each (label,
// template control, where it is shown), the key of the settings file's "HotKey" section that
// stores it, the identifier it is registered under and what it does. Rows are in identifier
// order, which is also the order of the keys in the file (memory before fan); the page shows the
// fan fields before the memory fields, which only their group and row say.
//
// Header only, so that the settings table can take its hotkey keys from here without a link
// dependency on this folder.
#pragma once

#include <array>
#include <cstddef>

#include "res/resource.h"

namespace shortcuts {

inline constexpr int kHotkeyIdBase = 1000;
inline constexpr std::size_t kHotkeyTableSize = 17;
inline constexpr const wchar_t* kHotkeySection = L"HotKey";
inline constexpr const wchar_t* kHotkeyPrompt = L"直接按键盘进行设置";

// The groups of the page (the entries of its item list) and the sub-pages of the overclocking
// group (its three paging buttons).
enum class HotkeyGroup : int { Quality = 0, ThreeD = 1, Overclock = 2 };
enum class OverclockSubPage : int { Core = 0, Memory = 1, Fan = 2 };
inline constexpr int kOverclockSubPageCount = 3;
inline constexpr int kHotkeyRowsPerGroup = 4;

// What a hotkey does: a preset, or a number of steps of one slider (negative steps down).
enum class HotkeyTarget { QualityPreset, ThreeDPreset, CoreClock, MemoryClock, FanSpeed };
struct HotkeyAction {
    HotkeyTarget target;
    int argument;  // the preset's mode number, or the signed step count
};

// Where a field is shown: its group, in the overclocking group its sub-page, and its row 1..4.
struct HotkeyPlace {
    HotkeyGroup group;
    OverclockSubPage subPage;
    int row;
};

struct HotkeyEntry {
    const wchar_t* label;
    int controlId;
    const wchar_t* key;
    int hotkeyId;
    HotkeyPlace place;
    HotkeyAction action;
};

namespace detail {
constexpr HotkeyPlace Quality(int row) {
    return {HotkeyGroup::Quality, OverclockSubPage::Core, row};
}
constexpr HotkeyPlace ThreeD(int row) {
    return {HotkeyGroup::ThreeD, OverclockSubPage::Core, row};
}
constexpr HotkeyPlace Overclock(OverclockSubPage subPage, int row) {
    return {HotkeyGroup::Overclock, subPage, row};
}
using S = OverclockSubPage;
using T = HotkeyTarget;
}  // namespace detail

// "3D_HDMode" selects 3D mode 1 and "3D_GameMode" 3D mode 2.
// clang-format off
inline constexpr std::array<HotkeyEntry, kHotkeyTableSize> kHotkeys = {{
    {L"标准模式",    IDC_HOTKEY_QUALITY_NORMAL,  L"Quality_NormalMode", 1000, detail::Quality(1), {detail::T::QualityPreset, 0}},
    {L"办公模式",    IDC_HOTKEY_QUALITY_WORK,    L"Quality_WorkMode",   1001, detail::Quality(2), {detail::T::QualityPreset, 1}},
    {L"游戏模式",    IDC_HOTKEY_QUALITY_GAME,    L"Quality_GameMode",   1002, detail::Quality(3), {detail::T::QualityPreset, 2}},
    {L"图片浏览",    IDC_HOTKEY_QUALITY_PICTURE, L"Quality_PicMode",    1003, detail::Quality(4), {detail::T::QualityPreset, 3}},
    {L"办公模式",    IDC_HOTKEY_3D_WORK,         L"3D_WorkMode",        1004, detail::ThreeD(1),  {detail::T::ThreeDPreset, 0}},
    {L"高清娱乐",    IDC_HOTKEY_3D_HD,           L"3D_HDMode",          1005, detail::ThreeD(2),  {detail::T::ThreeDPreset, 1}},
    {L"3D游戏",      IDC_HOTKEY_3D_GAME,         L"3D_GameMode",        1006, detail::ThreeD(3),  {detail::T::ThreeDPreset, 2}},
    {L"GPU核心+10",  IDC_HOTKEY_CORE_UP10,       L"GPU1Add1", 1007, detail::Overclock(detail::S::Core, 1),   {detail::T::CoreClock, 10}},
    {L"GPU核心+1",   IDC_HOTKEY_CORE_UP1,        L"GPU1Add2", 1008, detail::Overclock(detail::S::Core, 2),   {detail::T::CoreClock, 1}},
    {L"GPU核心-10",  IDC_HOTKEY_CORE_DOWN10,     L"GPU1Sub1", 1009, detail::Overclock(detail::S::Core, 3),   {detail::T::CoreClock, -10}},
    {L"GPU核心-1",   IDC_HOTKEY_CORE_DOWN1,      L"GPU1Sub2", 1010, detail::Overclock(detail::S::Core, 4),   {detail::T::CoreClock, -1}},
    {L"Mem频率+10",  IDC_HOTKEY_MEM_UP10,        L"GPU2Add1", 1011, detail::Overclock(detail::S::Memory, 1), {detail::T::MemoryClock, 10}},
    {L"Mem频率+1",   IDC_HOTKEY_MEM_UP1,         L"GPU2Add2", 1012, detail::Overclock(detail::S::Memory, 2), {detail::T::MemoryClock, 1}},
    {L"Mem频率-10",  IDC_HOTKEY_MEM_DOWN10,      L"GPU2Sub1", 1013, detail::Overclock(detail::S::Memory, 3), {detail::T::MemoryClock, -10}},
    {L"Mem频率-1",   IDC_HOTKEY_MEM_DOWN1,       L"GPU2Sub2", 1014, detail::Overclock(detail::S::Memory, 4), {detail::T::MemoryClock, -1}},
    {L"风扇转速+5",  IDC_HOTKEY_FAN_UP5,         L"GPU3Add1", 1015, detail::Overclock(detail::S::Fan, 1),    {detail::T::FanSpeed, 5}},
    {L"风扇转速-5",  IDC_HOTKEY_FAN_DOWN5,       L"GPU3Sub1", 1016, detail::Overclock(detail::S::Fan, 2),    {detail::T::FanSpeed, -5}},
}};
// clang-format on

// True when the row is shown for this group and overclocking sub-page.
constexpr bool ShownIn(const HotkeyEntry& entry, int group, int subPage) {
    if (static_cast<int>(entry.place.group) != group) {
        return false;
    }
    return entry.place.group != HotkeyGroup::Overclock ||
           static_cast<int>(entry.place.subPage) == subPage;
}

// The index of a hotkey's value in the settings record (and its key in the file's order).
constexpr std::size_t SettingsSlot(const HotkeyEntry& entry) {
    return static_cast<std::size_t>(entry.hotkeyId - kHotkeyIdBase);
}

// The table row of a hotkey identifier, or null.
constexpr const HotkeyEntry* FindHotkey(int hotkeyId) {
    for (const HotkeyEntry& entry : kHotkeys) {
        if (entry.hotkeyId == hotkeyId) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace shortcuts
