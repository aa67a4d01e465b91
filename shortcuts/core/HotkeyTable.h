// The shortcut page's field for each of the seventeen hotkeys: its label, template control and
// where it is shown. Row i edits hotkey i of the hotkey definitions (identifier order, which is
// also the order of the keys in the file); the page shows the fan fields before the memory
// fields, which only their group and row say.
#pragma once

#include <array>
#include <cstddef>

#include "res/resource.h"
#include "settings/core/HotkeyDefinitions.h"

namespace shortcuts {

inline constexpr const wchar_t* kHotkeyPrompt = L"直接按键盘进行设置";

// The groups of the page (the entries of its item list) and the sub-pages of the overclocking
// group (its three paging buttons).
enum class HotkeyGroup : int { Quality = 0, ThreeD = 1, Overclock = 2 };
enum class OverclockSubPage : int { Core = 0, Memory = 1, Fan = 2 };
inline constexpr int kOverclockSubPageCount = 3;
inline constexpr int kHotkeyRowsPerGroup = 4;

// Where a field is shown: its group, in the overclocking group its sub-page, and its row 1..4.
struct HotkeyPlace {
    HotkeyGroup group;
    OverclockSubPage subPage;
    int row;
};

struct HotkeyRow {
    const wchar_t* label;
    int controlId;
    HotkeyPlace place;
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
}  // namespace detail

// clang-format off
inline constexpr std::array<HotkeyRow, hotkeys::kCount> kHotkeyRows = {{
    {L"标准模式",    IDC_HOTKEY_QUALITY_NORMAL,  detail::Quality(1)},
    {L"办公模式",    IDC_HOTKEY_QUALITY_WORK,    detail::Quality(2)},
    {L"游戏模式",    IDC_HOTKEY_QUALITY_GAME,    detail::Quality(3)},
    {L"图片浏览",    IDC_HOTKEY_QUALITY_PICTURE, detail::Quality(4)},
    {L"办公模式",    IDC_HOTKEY_3D_WORK,         detail::ThreeD(1)},
    {L"高清娱乐",    IDC_HOTKEY_3D_HD,           detail::ThreeD(2)},
    {L"3D游戏",      IDC_HOTKEY_3D_GAME,         detail::ThreeD(3)},
    {L"GPU核心+10",  IDC_HOTKEY_CORE_UP10,       detail::Overclock(detail::S::Core, 1)},
    {L"GPU核心+1",   IDC_HOTKEY_CORE_UP1,        detail::Overclock(detail::S::Core, 2)},
    {L"GPU核心-10",  IDC_HOTKEY_CORE_DOWN10,     detail::Overclock(detail::S::Core, 3)},
    {L"GPU核心-1",   IDC_HOTKEY_CORE_DOWN1,      detail::Overclock(detail::S::Core, 4)},
    {L"Mem频率+10",  IDC_HOTKEY_MEM_UP10,        detail::Overclock(detail::S::Memory, 1)},
    {L"Mem频率+1",   IDC_HOTKEY_MEM_UP1,         detail::Overclock(detail::S::Memory, 2)},
    {L"Mem频率-10",  IDC_HOTKEY_MEM_DOWN10,      detail::Overclock(detail::S::Memory, 3)},
    {L"Mem频率-1",   IDC_HOTKEY_MEM_DOWN1,       detail::Overclock(detail::S::Memory, 4)},
    {L"风扇转速+5",  IDC_HOTKEY_FAN_UP5,         detail::Overclock(detail::S::Fan, 1)},
    {L"风扇转速-5",  IDC_HOTKEY_FAN_DOWN5,       detail::Overclock(detail::S::Fan, 2)},
}};
// clang-format on

// True when the row is shown for this group and overclocking sub-page.
constexpr bool ShownIn(const HotkeyRow& row, int group, int subPage) {
    if (static_cast<int>(row.place.group) != group) {
        return false;
    }
    return row.place.group != HotkeyGroup::Overclock ||
           static_cast<int>(row.place.subPage) == subPage;
}

}  // namespace shortcuts
