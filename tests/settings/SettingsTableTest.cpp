// The settings table: every row reaches its own field, every field has a row, names are unique,
// and on/off rows normalise what they store.
#include "settings/core/SettingsTable.h"
#include "settings/core/HotkeyDefinitions.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(SettingsTable, EveryRowReachesItsOwnFieldAndEveryFieldHasARow) {
    RunSettings settings{};
    const auto rows = SettingFields();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        StoreFileValue(rows[i], settings, static_cast<std::int32_t>(i + 2));
    }
    // A row sharing another's field would have overwritten it.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const SettingFieldRef ref = rows[i].field(settings);
        if (ref.integer != nullptr) {
            EXPECT_EQ(*ref.integer, static_cast<std::int32_t>(i + 2)) << rows[i].key;
        } else {
            ASSERT_NE(ref.onOff, nullptr) << rows[i].key;
            EXPECT_TRUE(*ref.onOff) << rows[i].key;
        }
    }
    // A field without a row would still be zero.
    EXPECT_NE(settings.App.RunValue, 0);
    EXPECT_TRUE(settings.App.ExitKeep);
    EXPECT_NE(settings.Clock.GPUFrequency, 0);
    EXPECT_NE(settings.Clock.GPUVoltage, 0);
    EXPECT_NE(settings.Clock.Mem, 0);
    EXPECT_NE(settings.Clock.Fan, 0);
    EXPECT_TRUE(settings.Clock.SelFan);
    EXPECT_NE(settings.Clock.Overdrive, 0);
    for (const ThreeDPreset& preset : settings.ThreeD) {
        for (bool on : preset.Set) {
            EXPECT_TRUE(on);
        }
    }
    for (const QualityPreset& preset : settings.Quality) {
        EXPECT_NE(preset.Camma, 0);
        EXPECT_NE(preset.Light, 0);
        EXPECT_NE(preset.Contrast, 0);
    }
    EXPECT_NE(settings.Display.ColorQuality, 0);
    EXPECT_NE(settings.Display.Desktoparea, 0);
    EXPECT_NE(settings.Display.RefreshRate, 0);
    EXPECT_NE(settings.Display.Rotation, 0);
    for (std::int32_t key : settings.Hotkeys.Keys) {
        EXPECT_NE(key, 0);
    }
    EXPECT_NE(settings.Pages.QualityPage, 0);
    EXPECT_NE(settings.Pages.ThreeDInfoPage, 0);
}

TEST(SettingsTable, SectionAndKeyPairsAreUniqueAndEachWriterOwnsWholeSections) {
    std::set<std::pair<std::wstring, std::wstring>> pairs;
    std::set<std::wstring> sectionsSeen;
    std::wstring previousSection;
    for (const SettingField& row : SettingFields()) {
        EXPECT_TRUE(pairs.emplace(row.section, row.key).second) << row.key;
        if (row.section != previousSection) {
            // A section's rows are together, so it is read and written as one block.
            EXPECT_TRUE(sectionsSeen.insert(row.section).second);
            previousSection = row.section;
        }
    }
    for (const SettingField& row : SettingFields()) {
        for (const SettingField& other : SettingFields()) {
            if (std::wstring(row.section) == other.section) {
                EXPECT_EQ(row.group, other.group) << row.section;
            }
        }
    }
    EXPECT_EQ(pairs.size(), 61u);
}

TEST(SettingsTable, OnOffRowsStoreAnyNonZeroAsOnAndGiveOneBack) {
    RunSettings settings{};
    const SettingField* selFan = nullptr;
    const SettingField* voltage = nullptr;
    for (const SettingField& row : SettingFields()) {
        if (std::wstring(row.key) == L"SelFan") {
            selFan = &row;
        }
        if (std::wstring(row.key) == L"GPUVoltage") {
            voltage = &row;
        }
    }
    ASSERT_NE(selFan, nullptr);
    ASSERT_NE(voltage, nullptr);
    for (std::int32_t stored : {2, -1, INT_MIN}) {
        StoreFileValue(*selFan, settings, stored);
        EXPECT_EQ(FileValue(*selFan, settings), 1) << stored;
    }
    StoreFileValue(*selFan, settings, 0);
    EXPECT_EQ(FileValue(*selFan, settings), 0);
    for (std::int32_t stored : {-1, INT_MIN, INT_MAX}) {
        StoreFileValue(*voltage, settings, stored);
        EXPECT_EQ(FileValue(*voltage, settings), stored);
    }
}

TEST(SettingsTable, HotkeyRowsAreTheHotkeyDefinitionsInIdentifierOrder) {
    std::vector<const SettingField*> hotkeyRows;
    for (const SettingField& row : SettingFields()) {
        if (row.group == SettingsGroup::Hotkeys) {
            hotkeyRows.push_back(&row);
        }
    }
    ASSERT_EQ(hotkeyRows.size(), hotkeys::kTable.size());
    RunSettings settings{};
    for (std::size_t i = 0; i < hotkeyRows.size(); ++i) {
        const hotkeys::Definition& entry = hotkeys::kTable[i];
        EXPECT_EQ(std::wstring(hotkeyRows[i]->section), L"HotKey");
        EXPECT_EQ(std::wstring(hotkeyRows[i]->key), entry.key);
        // Field i of HotkeySettings belongs to identifier 1000 + i.
        EXPECT_EQ(hotkeyRows[i]->field(settings).integer,
                  &settings.Hotkeys.Keys[entry.id - hotkeys::kIdBase]);
    }
}

}  // namespace
