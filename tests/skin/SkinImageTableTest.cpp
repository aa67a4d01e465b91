// The compiled-in skin image table: ids, names and the lookups over it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "skin/core/SkinImageTable.h"

namespace {

TEST(SkinImageTable, HoldsUniqueIdsInTheRangeWithExactlyTheDocumentedGaps) {
    std::set<int> ids;
    for (const SkinImageRow& row : SkinImageTable) {
        ids.insert(row.id);
    }
    EXPECT_EQ(ids.size(), kSkinImageCount);
    std::set<int> expected;
    for (int id = 129; id <= 312; ++id) {
        const bool gap = (id >= 130 && id <= 137) || id == 143 || id == 144 || id == 202 ||
                         id == 240 || id == 299;
        if (!gap) {
            expected.insert(id);
        }
    }
    EXPECT_EQ(ids, expected);
}

TEST(SkinImageTable, NamesAreUniqueAndNonEmpty) {
    std::set<std::wstring> names;
    for (const SkinImageRow& row : SkinImageTable) {
        ASSERT_NE(row.name, nullptr);
        EXPECT_FALSE(std::wstring(row.name).empty());
        names.insert(row.name);
    }
    EXPECT_EQ(names.size(), kSkinImageCount);
}

TEST(SkinImageTable, PairsNamesWithTheirResources) {
    const struct {
        int id;
        const wchar_t* name;
    } pairs[] = {
        {284, L"Setdlg_OK"},
        {302, L"WaitBtnGif"},
        {290, L"CLOCK_TIP"},
        {153, L"MAINDLG_BTN_OK_D"},
        {145, L"MAINDLG_BTN_CLICK_OK_M"},
        {300, L"ColorBk"},
        {129, L"RbtnBack"},
        {141, L"MainDlg_BKALL"},
        {159, L"MainDlg_Min_M"},
        {155, L"MainDlg_Close_D"},
        {251, L"SUBBKHARDWARE"},
        {254, L"SUBBKSHORTCUT"},
        {262, L"CONTROL_B3"},
        {263, L"CONTROL_B2"},
        {277, L"CONTROL__NUM"},
        {304, L"SpeedSt_Sl"},
        {305, L"SpeedSt_M"},
        {280, L"Setdlg_BtnSel"},
        {282, L"Setdlg_UnBtnSel"},
        {178, L"GPU核心频率"},
        {181, L"MEM频率"},
        {185, L"MEM频率D"},
        {189, L"MEM频率M"},
        {224, L"显卡名称"},
        {239, L"驱动程序版本D"},
        {241, L"显卡名称M"},
        {248, L"驱动程序版本M"},
        {264, L"3D_办公模式"},
        {267, L"3D_办公模式_D"},
        {272, L"3D_3D游戏_M"},
        {164, L"Catalyst A.L."},
        {170, L"Catalyst A.L.D"},
        {211, L"超频设置M"},
        {297, L"3D_BK_RES1"},
        {296, L"3D_Btn6"},
        {306, L"ModeKeep_BK"},
        {312, L"ModeKeep_Back_D"},
    };
    for (const auto& pair : pairs) {
        const SkinImageRow* row = FindSkinImageRowById(static_cast<std::uint16_t>(pair.id));
        ASSERT_NE(row, nullptr) << pair.id;
        EXPECT_EQ(std::wstring(row->name), pair.name) << pair.id;
    }
}

TEST(SkinImageTable, KeepsTheRegistrationOrder) {
    EXPECT_EQ(std::wstring(SkinImageTable.front().name), L"SpeedSt_N");
    EXPECT_EQ(std::wstring(SkinImageTable[3].name), L"WaitBtnGif");
    EXPECT_EQ(std::wstring(SkinImageTable[5].name), L"标准设置");
    EXPECT_EQ(std::wstring(SkinImageTable.back().name), L"MainBtnList_D");
}

TEST(SkinImageTable, LookupByNameIsExactAndCaseSensitive) {
    const SkinImageRow* row = FindSkinImageRow(L"Setdlg_OK");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->id, 284);
    EXPECT_EQ(FindSkinImageRow(L"setdlg_ok"), nullptr);
    EXPECT_EQ(FindSkinImageRow(L"Setdlg_O"), nullptr);
    EXPECT_EQ(FindSkinImageRow(L""), nullptr);
    EXPECT_EQ(FindSkinImageRowById(240), nullptr);
    EXPECT_EQ(FindSkinImageRowById(0), nullptr);
}

}  // namespace
