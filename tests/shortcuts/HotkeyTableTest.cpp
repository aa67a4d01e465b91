// The table of the seventeen hotkeys: identifiers in key order, one field per place on the page,
// and the page's fan-before-memory layout against the memory-before-fan identifiers.
#include "shortcuts/core/HotkeyTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace shortcuts;

TEST(HotkeyTable, IdentifiersFollowTheKeyOrderAndEverythingIsUnique) {
    const std::vector<std::wstring> fileOrder = {
        L"Quality_NormalMode", L"Quality_WorkMode", L"Quality_GameMode",
        L"Quality_PicMode",    L"3D_WorkMode",      L"3D_HDMode",
        L"3D_GameMode",        L"GPU1Add1",         L"GPU1Add2",
        L"GPU1Sub1",           L"GPU1Sub2",         L"GPU2Add1",
        L"GPU2Add2",           L"GPU2Sub1",         L"GPU2Sub2",
        L"GPU3Add1",           L"GPU3Sub1"};
    ASSERT_EQ(kHotkeys.size(), fileOrder.size());
    std::set<int> controls;
    for (std::size_t i = 0; i < kHotkeys.size(); ++i) {
        EXPECT_EQ(kHotkeys[i].key, fileOrder[i]);
        EXPECT_EQ(kHotkeys[i].hotkeyId, kHotkeyIdBase + static_cast<int>(i));
        EXPECT_EQ(FindHotkey(kHotkeys[i].hotkeyId), &kHotkeys[i]);
        EXPECT_TRUE(controls.insert(kHotkeys[i].controlId).second) << kHotkeys[i].controlId;
    }
    EXPECT_EQ(FindHotkey(999), nullptr);
    EXPECT_EQ(FindHotkey(1017), nullptr);
}

TEST(HotkeyTable, EachGroupFillsItsRowsFromTheTopWithOneFieldEach) {
    // (group, sub-page) -> rows in use
    std::map<std::pair<int, int>, std::set<int>> rows;
    for (const HotkeyEntry& entry : kHotkeys) {
        const int subPage =
            entry.place.group == HotkeyGroup::Overclock ? static_cast<int>(entry.place.subPage) : 0;
        const std::pair<int, int> place(static_cast<int>(entry.place.group), subPage);
        EXPECT_TRUE(rows[place].insert(entry.place.row).second) << entry.key;
    }
    const std::map<std::pair<int, int>, std::size_t> expected = {
        {{0, 0}, 4}, {{1, 0}, 3}, {{2, 0}, 4}, {{2, 1}, 4}, {{2, 2}, 2}};
    ASSERT_EQ(rows.size(), expected.size());
    for (const auto& [place, count] : expected) {
        const std::set<int>& used = rows[place];
        ASSERT_EQ(used.size(), count);
        EXPECT_EQ(*used.begin(), 1);
        EXPECT_EQ(*used.rbegin(), static_cast<int>(count));
    }
}

TEST(HotkeyTable, MemoryFieldsSitOnSubPageOneAndFanFieldsOnTwoWithTheirOwnControls) {
    struct Expected {
        const wchar_t* key;
        int control;
        int hotkeyId;
        OverclockSubPage subPage;
        int row;
        HotkeyTarget target;
        int steps;
    };
    for (const Expected& e : {
             Expected{L"GPU1Add1", 1046, 1007, OverclockSubPage::Core, 1, HotkeyTarget::CoreClock,
                      10},
             Expected{L"GPU1Sub2", 1049, 1010, OverclockSubPage::Core, 4, HotkeyTarget::CoreClock,
                      -1},
             Expected{L"GPU2Add1", 1058, 1011, OverclockSubPage::Memory, 1,
                      HotkeyTarget::MemoryClock, 10},
             Expected{L"GPU2Sub2", 1061, 1014, OverclockSubPage::Memory, 4,
                      HotkeyTarget::MemoryClock, -1},
             Expected{L"GPU3Add1", 1054, 1015, OverclockSubPage::Fan, 1, HotkeyTarget::FanSpeed, 5},
             Expected{L"GPU3Sub1", 1055, 1016, OverclockSubPage::Fan, 2, HotkeyTarget::FanSpeed,
                      -5},
         }) {
        const HotkeyEntry* entry = FindHotkey(e.hotkeyId);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(std::wstring(entry->key), e.key);
        EXPECT_EQ(entry->controlId, e.control);
        EXPECT_EQ(entry->place.group, HotkeyGroup::Overclock);
        EXPECT_EQ(entry->place.subPage, e.subPage);
        EXPECT_EQ(entry->place.row, e.row);
        EXPECT_EQ(entry->action.target, e.target);
        EXPECT_EQ(entry->action.argument, e.steps);
    }
    // The presets: "3D_HDMode" is 3D mode 1, "3D_GameMode" mode 2.
    EXPECT_EQ(FindHotkey(1003)->action.argument, 3);
    EXPECT_EQ(FindHotkey(1005)->action.target, HotkeyTarget::ThreeDPreset);
    EXPECT_EQ(FindHotkey(1005)->action.argument, 1);
    EXPECT_EQ(FindHotkey(1006)->action.argument, 2);
}

TEST(HotkeyTable, ShownInPicksTheGroupAndInTheOverclockGroupTheSubPage) {
    auto shown = [](int group, int subPage) {
        std::vector<int> ids;
        for (const HotkeyEntry& entry : kHotkeys) {
            if (ShownIn(entry, group, subPage)) {
                ids.push_back(entry.hotkeyId);
            }
        }
        return ids;
    };
    EXPECT_EQ(shown(0, 2), (std::vector<int>{1000, 1001, 1002, 1003}));
    EXPECT_EQ(shown(1, 0), (std::vector<int>{1004, 1005, 1006}));
    EXPECT_EQ(shown(2, 0), (std::vector<int>{1007, 1008, 1009, 1010}));
    EXPECT_EQ(shown(2, 1), (std::vector<int>{1011, 1012, 1013, 1014}));
    EXPECT_EQ(shown(2, 2), (std::vector<int>{1015, 1016}));
    EXPECT_TRUE(shown(2, 3).empty());
    EXPECT_TRUE(shown(3, 0).empty());
    EXPECT_TRUE(shown(-1, 0).empty());
}

}  // namespace
