// The settings file through the real Windows profile functions: the per-user copy, value
// encoding, defaults, and each writer's sections and key order.
#include "settings/RunConfigFile.h"
#include "settings/core/ProfileSection.h"
#include "tests/support/FileText.h"
#include "tests/support/ScratchFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

void WriteText(const std::wstring& path, const std::string& text) {
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << text;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// "[name]" (built by appending: GCC 12 misreports "literal" + string at -O3).
std::string Bracketed(const std::string& name) {
    std::string text = "[";
    text += name;
    text += "]";
    return text;
}

// "[Section]" and "Section.Key" entries of a profile file, in file order.
std::vector<std::string> Layout(const std::wstring& path) {
    std::vector<std::string> layout;
    std::istringstream lines(testkit::ReadFileText(path));
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            layout.push_back(Bracketed(section));
        } else {
            layout.push_back(section + "." + line.substr(0, line.find('=')));
        }
    }
    return layout;
}

class RunConfigFileTest : public ::testing::Test {
  protected:
    RunConfigFile File() const { return RunConfigFile(user_, template_); }
    RunSettings Loaded() const {
        RunSettings settings{};
        File().PrepareUserCopy();
        File().Load(settings);
        return settings;
    }

    testkit::ScratchFolder folder_{L"settings"};
    std::wstring template_ = folder_.File(L"RunConfig.dat");
    std::wstring user_ = folder_.File(L"TVRunConfig.dat");
};

TEST_F(RunConfigFileTest, UserCopyIsMadeFromTheTemplateOnceAndNeverOverwritten) {
    WriteText(template_, "[SettingInfo]\r\nRunValue=3\r\n");
    EXPECT_EQ(Loaded().App.RunValue, 3);
    ASSERT_TRUE(Exists(user_));

    WriteText(user_, "[SettingInfo]\r\nRunValue=2\r\nExitKeep=1\r\n");
    WriteText(template_, "[SettingInfo]\r\nRunValue=4\r\n");
    const RunSettings settings = Loaded();
    EXPECT_EQ(settings.App.RunValue, 2);
    EXPECT_TRUE(settings.App.ExitKeep);
    EXPECT_EQ(testkit::ReadFileText(user_), "[SettingInfo]\r\nRunValue=2\r\nExitKeep=1\r\n");
}

TEST_F(RunConfigFileTest, ReadOnlyUserCopyBecomesWritableKeepingItsOtherAttributes) {
    WriteText(user_, "[Clock_Set]\r\nFan=40\r\n");
    ASSERT_TRUE(
        ::SetFileAttributesW(user_.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    RunSettings settings = Loaded();
    const DWORD attributes = ::GetFileAttributesW(user_.c_str());
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_ARCHIVE, 0u);

    settings.Clock.Fan = 75;
    File().Save(SettingsGroup::Clock, settings);
    EXPECT_THAT(testkit::ReadFileText(user_), HasSubstr("Fan=75"));
}

TEST_F(RunConfigFileTest, TheClockSettingsCountAsSavedOnlyWhenTheFileHoldsThem) {
    WriteText(user_, "[SettingInfo]\r\nRunValue=2\r\n[Clock_Set]\r\n");
    RunSettings settings = Loaded();
    EXPECT_FALSE(settings.Clock.Saved);  // a header without keys holds no choice
    EXPECT_TRUE(File().Save(SettingsGroup::Clock, settings));
    EXPECT_TRUE(settings.Clock.Saved);
    EXPECT_TRUE(Loaded().Clock.Saved);

    WriteText(user_, "[Clock_Set]\r\nSelFan=0\r\n");
    EXPECT_TRUE(Loaded().Clock.Saved);
    // Another section's write is no clock choice.
    WriteText(user_, "[SettingInfo]\r\nRunValue=2\r\n");
    settings = Loaded();
    EXPECT_TRUE(File().Save(SettingsGroup::App, settings));
    EXPECT_FALSE(settings.Clock.Saved);
}

TEST_F(RunConfigFileTest, TheOverdriveKeyIsWrittenOnlyForADisplayLibraryBackend) {
    const std::string before =
        "[Clock_Set]\r\nGPUFrequency=850\r\nGPUVoltage=1100\r\nMem=1000\r\n"
        "Fan=55\r\nSelFan=0\r\n";
    WriteText(user_, before);
    RunSettings settings = Loaded();
    EXPECT_EQ(settings.Clock.Overdrive, 0);  // saved by the ATIDL path
    ASSERT_TRUE(File().Save(SettingsGroup::Clock, settings));
    EXPECT_EQ(testkit::ReadFileText(user_), before);  // a file saved as before stays as it was

    settings.Clock.Overdrive = 7;
    ASSERT_TRUE(File().Save(SettingsGroup::Clock, settings));
    EXPECT_THAT(testkit::ReadFileText(user_), HasSubstr("SelFan=0\r\nOverdrive=7\r\n"));
    EXPECT_EQ(Loaded().Clock.Overdrive, 7);

    settings.Clock.Overdrive = 0;
    ASSERT_TRUE(File().Save(SettingsGroup::Clock, settings));
    EXPECT_EQ(testkit::ReadFileText(user_), before);
}

TEST_F(RunConfigFileTest, ASaveSkipsOnlyKeysThatAlreadyHoldItsText) {
    const std::string before =
        "[Clock_Set]\r\nGPUFrequency=850\r\nGPUVoltage=01100\r\n"
        "Mem=1000\r\nFan=55\r\nSelFan=0\r\n";
    WriteText(user_, before);
    RunSettings settings = Loaded();
    ASSERT_EQ(settings.Clock.GPUVoltage, 1100);
    // The same number in another spelling is written in ours; a changed value is written.
    settings.Clock.GPUFrequency = 860;
    ASSERT_TRUE(File().Save(SettingsGroup::Clock, settings));
    EXPECT_EQ(testkit::ReadFileText(user_),
              "[Clock_Set]\r\nGPUFrequency=860\r\nGPUVoltage=1100\r\n"
              "Mem=1000\r\nFan=55\r\nSelFan=0\r\n");
    // A key another program removed is written back though its number was read as 0.
    WriteText(user_, "[Clock_Set]\r\nGPUFrequency=860\r\n");
    ASSERT_TRUE(File().Save(SettingsGroup::Clock, settings));
    EXPECT_EQ(Loaded().Clock.Fan, 55);
    EXPECT_EQ(Loaded().Clock.GPUFrequency, 860);
}

// Moves the file's last-write time on by two seconds: what another program's later write of
// the same length leaves, on a clock whose ticks are coarser than one test step.
void MoveWriteTimeOn(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES, 0,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME written{};
    ::GetFileTime(file, nullptr, nullptr, &written);
    ULARGE_INTEGER time{{written.dwLowDateTime, written.dwHighDateTime}};
    time.QuadPart += 2 * 10000000ull;
    written = FILETIME{time.LowPart, time.HighPart};
    EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &written));
    ::CloseHandle(file);
}

// One file object keeps the sections it read while the file stays as it left it, so repeated
// saves read nothing; another program's write, or a write of ours the system refused, makes
// the next save read the file again and write every key that differs.
TEST_F(RunConfigFileTest, RepeatedSavesSeeEveryOtherWriterAndEveryRefusal) {
    WriteText(user_,
              "[Clock_Set]\r\nGPUFrequency=850\r\nGPUVoltage=1100\r\nMem=1000\r\nFan=55\r\n"
              "SelFan=0\r\n");
    RunConfigFile file = File();
    RunSettings settings{};
    file.Load(settings);
    settings.Clock.GPUFrequency = 860;
    ASSERT_TRUE(file.Save(SettingsGroup::Clock, settings));
    ASSERT_EQ(Loaded().Clock.GPUFrequency, 860);

    // Another program sets the fan, the file's length unchanged; then removes the memory clock.
    WriteText(user_,
              "[Clock_Set]\r\nGPUFrequency=860\r\nGPUVoltage=1100\r\nMem=1000\r\nFan=66\r\n"
              "SelFan=0\r\n");
    MoveWriteTimeOn(user_);
    ASSERT_TRUE(file.Save(SettingsGroup::Clock, settings));
    EXPECT_EQ(Loaded().Clock.Fan, 55);
    WriteText(user_, "[Clock_Set]\r\nGPUFrequency=860\r\n");
    ASSERT_TRUE(file.Save(SettingsGroup::Clock, settings));
    EXPECT_EQ(Loaded().Clock.Mem, 1000);

    // A refused write (another program holds the file unshared) is no success and is made
    // again by the next save.
    HANDLE held = ::CreateFileW(user_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    settings.Clock.GPUFrequency = 870;
    EXPECT_FALSE(file.Save(SettingsGroup::Clock, settings));
    ::CloseHandle(held);
    EXPECT_EQ(Loaded().Clock.GPUFrequency, 860);
    ASSERT_TRUE(file.Save(SettingsGroup::Clock, settings));
    EXPECT_EQ(Loaded().Clock.GPUFrequency, 870);
}

TEST_F(RunConfigFileTest, ReadOnlyTemplateGivesAWritableCopy) {
    WriteText(template_, "[Clock_Set]\r\nFan=40\r\n");
    ::SetFileAttributesW(template_.c_str(), FILE_ATTRIBUTE_READONLY);
    Loaded();
    EXPECT_EQ(::GetFileAttributesW(user_.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(RunConfigFileTest, NegativeAndExtremeIntegersRoundTrip) {
    RunSettings settings{};
    settings.Clock.GPUVoltage = -25;
    settings.Quality[2].Camma = INT_MIN;
    settings.Quality[3].Contrast = INT_MAX;
    settings.Hotkeys.Keys[16] = 0x10114141;
    for (SettingsGroup group :
         {SettingsGroup::Clock, SettingsGroup::Quality, SettingsGroup::Hotkeys}) {
        File().Save(group, settings);
    }
    EXPECT_THAT(testkit::ReadFileText(user_), HasSubstr("GPUVoltage=-25\r\n"));
    const RunSettings loaded = Loaded();
    EXPECT_EQ(loaded.Clock.GPUVoltage, -25);
    EXPECT_EQ(loaded.Quality[2].Camma, INT_MIN);
    EXPECT_EQ(loaded.Quality[3].Contrast, INT_MAX);
    EXPECT_EQ(loaded.Hotkeys.Keys[16], 0x10114141);
}

TEST_F(RunConfigFileTest, OnOffTwoReadsAsOnAndIsWrittenBackAsOne) {
    WriteText(user_, "[Clock_Set]\r\nSelFan=2\r\n[3DInfo_HD]\r\nSet6=-3\r\n");
    RunSettings settings = Loaded();
    EXPECT_TRUE(settings.Clock.SelFan);
    EXPECT_TRUE(settings.ThreeD[2].Set[5]);
    File().Save(SettingsGroup::Clock, settings);
    File().Save(SettingsGroup::ThreeD, settings);
    EXPECT_THAT(testkit::ReadFileText(user_), HasSubstr("SelFan=1\r\n"));
    EXPECT_THAT(testkit::ReadFileText(user_), HasSubstr("Set6=1\r\n"));
}

TEST_F(RunConfigFileTest, OutOfRangePageSelectionIsKeptAsStored) {
    WriteText(user_, "[SelPage]\r\nQualityPage=7\r\n3DInfoPage=9\r\n");
    const RunSettings settings = Loaded();
    EXPECT_EQ(settings.Pages.QualityPage, 7);
    EXPECT_EQ(settings.Pages.ThreeDInfoPage, 9);
}

TEST_F(RunConfigFileTest, NoFileAnywhereGivesDefaultsAndTheFirstSaveCreatesTheUserCopy) {
    // Every field holds something before the load, so each zero below was read.
    RunSettings settings{};
    for (const SettingField& row : SettingFields()) {
        StoreFileValue(row, settings, 7);
    }
    File().PrepareUserCopy();
    File().Load(settings);
    for (const SettingField& row : SettingFields()) {
        EXPECT_EQ(FileValue(row, settings), 0) << row.section << L"." << row.key;
    }
    EXPECT_FALSE(Exists(user_));

    settings.App.ExitKeep = true;
    File().Save(SettingsGroup::App, settings);
    EXPECT_EQ(testkit::ReadFileText(user_), "[SettingInfo]\r\nRunValue=0\r\nExitKeep=1\r\n");
    EXPECT_FALSE(Exists(template_));
}

TEST_F(RunConfigFileTest, WithoutDocumentsFolderTheTemplateIsReadAndWritten) {
    WriteText(template_, "[Display]\r\nRotation=2\r\n");
    RunConfigFile file(std::wstring(), template_);
    file.PrepareUserCopy();
    RunSettings settings{};
    file.Load(settings);
    EXPECT_EQ(settings.Display.Rotation, 2);
    settings.Display.Rotation = 3;
    file.Save(SettingsGroup::Display, settings);
    EXPECT_THAT(testkit::ReadFileText(template_), HasSubstr("Rotation=3"));
    EXPECT_FALSE(Exists(user_));
}

TEST_F(RunConfigFileTest, EachWriterWritesOnlyItsSectionsWithKeysInOrder) {
    auto layoutOf = [this](SettingsGroup group) {
        ::DeleteFileW(user_.c_str());
        RunSettings settings{};
        File().Save(group, settings);
        return Layout(user_);
    };
    EXPECT_THAT(layoutOf(SettingsGroup::App),
                ElementsAre("[SettingInfo]", "SettingInfo.RunValue", "SettingInfo.ExitKeep"));
    EXPECT_THAT(layoutOf(SettingsGroup::Clock),
                ElementsAre("[Clock_Set]", "Clock_Set.GPUFrequency", "Clock_Set.GPUVoltage",
                            "Clock_Set.Mem", "Clock_Set.Fan", "Clock_Set.SelFan"));
    std::vector<std::string> threeD;
    for (const char* section : {"3DInfo_Work", "3DInfo_Game", "3DInfo_HD"}) {
        threeD.push_back(Bracketed(section));
        for (int i = 1; i <= 6; ++i) {
            threeD.push_back(section + std::string(".Set") + std::to_string(i));
        }
    }
    EXPECT_THAT(layoutOf(SettingsGroup::ThreeD), ElementsAreArray(threeD));
    std::vector<std::string> quality;
    for (const char* section :
         {"Quality_Standard", "Quality_Work", "Quality_Game", "Quality_Picture"}) {
        quality.push_back(Bracketed(section));
        for (const char* key : {".Camma", ".Light", ".Contrast"}) {
            quality.push_back(section + std::string(key));
        }
    }
    EXPECT_THAT(layoutOf(SettingsGroup::Quality), ElementsAreArray(quality));
    EXPECT_THAT(layoutOf(SettingsGroup::Display),
                ElementsAre("[Display]", "Display.ColorQuality", "Display.Desktoparea",
                            "Display.RefreshRate", "Display.Rotation"));
    std::vector<std::string> hotkeys = {"[HotKey]"};
    for (const char* key :
         {"Quality_NormalMode", "Quality_WorkMode", "Quality_GameMode", "Quality_PicMode",
          "3D_WorkMode", "3D_HDMode", "3D_GameMode", "GPU1Add1", "GPU1Add2", "GPU1Sub1", "GPU1Sub2",
          "GPU2Add1", "GPU2Add2", "GPU2Sub1", "GPU2Sub2", "GPU3Add1", "GPU3Sub1"}) {
        hotkeys.push_back(std::string("HotKey.") + key);
    }
    EXPECT_THAT(layoutOf(SettingsGroup::Hotkeys), ElementsAreArray(hotkeys));
    EXPECT_THAT(layoutOf(SettingsGroup::Pages),
                ElementsAre("[SelPage]", "SelPage.QualityPage", "SelPage.3DInfoPage"));
}

// The loader reads a section at a time; every field must still hold what GetPrivateProfileIntW
// gives for its key, on any file.
class ProfileReadTest : public RunConfigFileTest {
  protected:
    void ExpectKeyByKeyValues(const std::string& text, const char* what) {
        WriteText(user_, text);
        RunSettings loaded{};
        File().Load(loaded);
        RunSettings expected{};
        for (const SettingField& row : SettingFields()) {
            const UINT raw = ::GetPrivateProfileIntW(row.section, row.key, 0, user_.c_str());
            StoreFileValue(row, expected, static_cast<std::int32_t>(raw));
        }
        for (const SettingField& row : SettingFields()) {
            ASSERT_EQ(FileValue(row, loaded), FileValue(row, expected))
                << what << ": " << row.section << L"." << row.key;
        }
    }
};

TEST_F(ProfileReadTest, QuirksOfValuesNamesAndSectionsReadAsKeyByKey) {
    ExpectKeyByKeyValues(
        "[Clock_Set]\r\nGPUFrequency=0x2BC\r\nGPUVoltage=  -0b11 \r\n"
        "Mem='900'\r\nFan=\"4\r\nSelFan=\"\"\r\n",
        "values");
    ExpectKeyByKeyValues(
        "[clock_set]\r\nfan=1\r\nFAN=2\r\nMem\r\nmem=5\r\n;GPUVoltage=3\r\n"
        "=7\r\n[Clock_Set]\r\nGPUFrequency=9\r\n",
        "duplicate names, comments, lines without a value");
    ExpectKeyByKeyValues(
        "[HotKey]\r\nGPU1Add1=\"123456789012345678901234567890\"\r\n"
        "GPU1Add2=99999999999999999999\r\n[ SelPage ]\r\nQualityPage=2\r\n"
        "[SelPage\r\n3DInfoPage=1\r\n",
        "long values and broken headers");
    // A section longer than the first buffer, and one longer than the largest.
    std::string big = "[Display]\r\n";
    for (int i = 0; i < 600; ++i) {
        big.append("Padding").append(std::to_string(i)).append("=0\r\n");
    }
    big += "Rotation=3\r\n[SettingInfo]\r\n";
    for (int i = 0; i < 80000; ++i) {
        big.append("P").append(std::to_string(i)).append("=1\r\n");
    }
    big += "RunValue=2\r\n";
    ExpectKeyByKeyValues(big, "large sections");
}

TEST_F(ProfileReadTest, UnicodeFilesAndRandomTextReadAsKeyByKey) {
    ExpectKeyByKeyValues(std::string("\xEF\xBB\xBF[Display]\r\nRotation=2\r\n"), "UTF-8");
    const std::wstring wide = L"\xFEFF[Display]\r\nRefreshRate=75\r\n";
    ExpectKeyByKeyValues(
        std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)),
        "UTF-16");
    // Fragments of real files shuffled into random lines.
    const char* pieces[] = {
        "[Clock_Set]", "[HotKey]",    "[3DInfo_HD]", "[SelPage]", "Fan",  "GPU1Sub2",
        "Set4",        "QualityPage", "=",           "==",        "'",    "\"",
        " ",           "\t",          "-",           "+",         "0x",   "0b",
        "12",          "7",           "4294967296",  ";",         "\r\n", "\r\n"};
    std::uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fffu;
    };
    for (int file = 0; file < 60; ++file) {
        std::string text;
        const std::uint32_t count = 20 + next() % 200;
        for (std::uint32_t i = 0; i < count; ++i) {
            text += pieces[next() % (sizeof(pieces) / sizeof(pieces[0]))];
        }
        std::string what = "random file ";
        what += std::to_string(file);
        ExpectKeyByKeyValues(text, what.c_str());
    }
}

// A section function need not trim what surrounds names and values: the section reader trims
// exactly what the profile functions ignore key by key. Every unit of Latin-1 but NUL and the
// line ends, and every other Unicode space, is put before and after a name and its quoted value,
// once in a file read key by key and once in a section buffer that keeps it.
TEST_F(ProfileReadTest, BlanksAroundNamesAndValuesAreTheOnesTheKeyByKeyReadIgnores) {
    std::vector<wchar_t> units;
    for (wchar_t c = 1; c < 0x100; ++c) {
        if (c != L'\r' && c != L'\n') {
            units.push_back(c);
        }
    }
    for (wchar_t c :
         {0x1680, 0x180E, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005, 0x2006, 0x2007,
          0x2008, 0x2009, 0x200A, 0x200B, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000, 0xFEFF}) {
        units.push_back(c);
    }
    std::wstring file = L"\xFEFF";
    for (const wchar_t c : units) {
        file += L"[S" + std::to_wstring(c) + L"]\r\n";
        file += std::wstring{c, L'K', c, L'=', c, L'\'', L'7', L'\'', c} + L"\r\n";
    }
    WriteText(user_, std::string(reinterpret_cast<const char*>(file.data()),
                                 file.size() * sizeof(wchar_t)));
    int ignored = 0;
    for (const wchar_t c : units) {
        const std::wstring section = L"S" + std::to_wstring(c);
        const auto keyByKey = static_cast<std::int32_t>(
            ::GetPrivateProfileIntW(section.c_str(), L"K", -1, user_.c_str()));
        std::wstring buffer{c, L'K', c, L'=', c, L'\'', L'7', L'\'', c};
        buffer.append(2, L'\0');
        EXPECT_EQ(ProfileSection(buffer).Int(L"K", -1), keyByKey)
            << "unit " << static_cast<unsigned>(c);
        ignored += keyByKey == 7 ? 1 : 0;
    }
    EXPECT_GE(ignored, 2);  // at least the tab and the space
}

}  // namespace
