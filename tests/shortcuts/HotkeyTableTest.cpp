// The seventeen hotkeys: identifiers in key order, one field per place on the page, and the
// page's fan-before-memory layout against the memory-before-fan identifiers.
#include "shortcuts/core/HotkeyTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace shortcuts;
using hotkeys::Find;
using hotkeys::kTable;

TEST(HotkeyTable, IdentifiersFollowTheKeyOrderAndEverythingIsUnique) {
    const std::vector<std::wstring> fileOrder = {
        L"Quality_NormalMode", L"Quality_WorkMode", L"Quality_GameMode",
        L"Quality_PicMode",    L"3D_WorkMode",      L"3D_HDMode",
        L"3D_GameMode",        L"GPU1Add1",         L"GPU1Add2",
        L"GPU1Sub1",           L"GPU1Sub2",         L"GPU2Add1",
        L"GPU2Add2",           L"GPU2Sub1",         L"GPU2Sub2",
        L"GPU3Add1",           L"GPU3Sub1"};
    ASSERT_EQ(kTable.size(), fileOrder.size());
    std::set<int> controls;
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        EXPECT_EQ(kTable[i].key, fileOrder[i]);
        EXPECT_EQ(kTable[i].id, hotkeys::kIdBase + static_cast<int>(i));
        EXPECT_EQ(Find(kTable[i].id), &kTable[i]);
        EXPECT_TRUE(controls.insert(kHotkeyRows[i].controlId).second) << kHotkeyRows[i].controlId;
    }
    EXPECT_EQ(Find(999), nullptr);
    EXPECT_EQ(Find(1017), nullptr);
}

TEST(HotkeyTable, EachGroupFillsItsRowsFromTheTopWithOneFieldEach) {
    // (group, sub-page) -> rows in use
    std::map<std::pair<int, int>, std::set<int>> rows;
    for (std::size_t i = 0; i < kHotkeyRows.size(); ++i) {
        const HotkeyPlace& at = kHotkeyRows[i].place;
        const int subPage = at.group == HotkeyGroup::Overclock ? static_cast<int>(at.subPage) : 0;
        const std::pair<int, int> place(static_cast<int>(at.group), subPage);
        EXPECT_TRUE(rows[place].insert(at.row).second) << kTable[i].key;
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

TEST(HotkeyTable, ThreeDPresetsPairHDWithModeOneAndGameWithModeTwo) {
    const hotkeys::Definition* hd = Find(1005);
    const hotkeys::Definition* game = Find(1006);
    ASSERT_NE(hd, nullptr);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(std::wstring(hd->key), L"3D_HDMode");
    EXPECT_EQ(hd->action.argument, 1);
    EXPECT_EQ(std::wstring(game->key), L"3D_GameMode");
    EXPECT_EQ(game->action.argument, 2);
}

TEST(HotkeyTable, ShownInPicksTheGroupAndInTheOverclockGroupTheSubPage) {
    auto shown = [](int group, int subPage) {
        std::vector<int> ids;
        for (std::size_t i = 0; i < kHotkeyRows.size(); ++i) {
            if (ShownIn(kHotkeyRows[i], group, subPage)) {
                ids.push_back(kTable[i].id);
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
