// The program's directory as the update library gets it, in ANSI text: a form that the library
// reads back as the same folder, or nothing at all.
#include "framework/Handles.h"
#include "libs/versync/transport/AnsiText.h"
#include "tests/support/ScratchFolder.h"
#include "update/AnsiPath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// True when both paths name one existing folder.
bool SameFolder(const std::wstring& a, const std::wstring& b) {
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const std::wstring* paths[] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        fw::FileHandle folder(::CreateFileW(
            paths[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!folder || !::GetFileInformationByHandle(folder.get(), &info[i])) {
            return false;
        }
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// The path as a plain conversion to the ANSI code page (best fit, "?" for the rest) gives it.
std::wstring PlainAnsiRoundTrip(const std::wstring& path) {
    char ansi[MAX_PATH * 2];
    ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi, sizeof(ansi), nullptr, nullptr);
    return WideFromAnsi(ansi);
}

class AnsiPathTest : public ::testing::Test {
  protected:
    std::wstring Folder(const wchar_t* name) {
        const std::wstring folder = root_.File(name);
        EXPECT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
        return folder;
    }

    testkit::ScratchFolder root_{L"ansi"};
};

TEST_F(AnsiPathTest, APathTheCodePageHoldsIsPassedAsItIs) {
    const std::wstring folder = Folder(L"Velmora Program");
    EXPECT_EQ(WideFromAnsi(AnsiPathForLibrary(folder)), folder);
}

TEST_F(AnsiPathTest, ANameOutsideTheCodePageIsPassedInItsShortFormNamingTheSameFolder) {
    const std::wstring folder = Folder(L"\u66f4\u65b0\u7a0b\u5e8f");
    if (PlainAnsiRoundTrip(folder) == folder) {
        GTEST_SKIP() << "the ANSI code page holds these characters";
    }
    const std::string ansi = AnsiPathForLibrary(folder);
    ASSERT_FALSE(ansi.empty());
    EXPECT_NE(WideFromAnsi(ansi), folder);
    EXPECT_TRUE(SameFolder(WideFromAnsi(ansi), folder)) << ansi;
}

TEST_F(AnsiPathTest, ABestFitLookAlikeThatNamesAnotherFolderIsNeverPassed) {
    const std::wstring folder = Folder(L"Velmor\u0100");
    const std::wstring lookAlike = Folder(L"VelmorA");
    if (PlainAnsiRoundTrip(folder) != lookAlike) {
        GTEST_SKIP() << "the ANSI code page has no look-alike for U+0100";
    }
    const std::wstring passed = WideFromAnsi(AnsiPathForLibrary(folder));
    EXPECT_TRUE(SameFolder(passed, folder));
    EXPECT_FALSE(SameFolder(passed, lookAlike));
}

TEST_F(AnsiPathTest, APathWithoutAFormThatSurvivesIsNotPassedAtAll) {
    // A folder that does not exist has no short form.
    const std::wstring absent = root_.File(L"\u66f4\u65b0-absent");
    if (PlainAnsiRoundTrip(absent) == absent) {
        GTEST_SKIP() << "the ANSI code page holds these characters";
    }
    EXPECT_EQ(AnsiPathForLibrary(absent), "");
    EXPECT_EQ(AnsiPathForLibrary(L""), "");
}

}  // namespace
