// The executable-directory services: the data-file path and machine registry strings.
#include "settings/ExeDirectory.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kTestKey[] = L"Software\\VelmoraTest\\ExeDirectory";

TEST(ExeDirectory, DataFilePathIsNextToTheExecutable) {
    wchar_t module[MAX_PATH];
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expected(module);
    expected = expected.substr(0, expected.find_last_of(L'\\')) + L"\\DeviceManuf.db3";

    wchar_t path[MAX_PATH];
    ASSERT_TRUE(GetDataFilePath(path));
    EXPECT_EQ(std::wstring(path), expected);
    EXPECT_EQ(ExecutableDirectory() + L"\\DeviceManuf.db3", expected);
}

TEST(ExeDirectory, AnsiDirectoryIsWhatTheAnsiFileFunctionsGive) {
    char module[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
    ::PathRemoveFileSpecA(module);
    EXPECT_EQ(fw::ExecutableDirectoryAnsi(), std::string(module));
    EXPECT_EQ(fw::PathNextToExecutable(L"\\update"), ExecutableDirectory() + L"\\update");
}

class MachineRegistryStringTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        ::RegCloseKey(key_);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTestKey);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\VelmoraTest");
    }
    void SetBytes(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ::RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size);
    }
    void SetString(const wchar_t* name, const std::wstring& text) {
        SetBytes(name, REG_SZ, text.c_str(),
                 static_cast<DWORD>(text.size() + 1) * DWORD{sizeof(wchar_t)});
    }

    HKEY key_ = nullptr;
};

TEST_F(MachineRegistryStringTest, ReadsValuesUpToThirtyOneCharacters) {
    SetString(L"Short", L"Radeon");
    const std::wstring longest(31, L'x');
    SetString(L"Longest", longest);
    wchar_t value[kMachineStringChars];
    ASSERT_TRUE(ReadMachineRegistryString(kTestKey, L"Short", value));
    EXPECT_STREQ(value, L"Radeon");
    ASSERT_TRUE(ReadMachineRegistryString(kTestKey, L"Longest", value));
    EXPECT_EQ(std::wstring(value), longest);
}

TEST_F(MachineRegistryStringTest, UnterminatedValueStillEndsWithinTheBuffer) {
    const wchar_t full[kMachineStringChars] = {L'a', L'b', L'c', L'd', L'e', L'f', L'g', L'h',
                                               L'i', L'j', L'k', L'l', L'm', L'n', L'o', L'p',
                                               L'q', L'r', L's', L't', L'u', L'v', L'w', L'x',
                                               L'y', L'z', L'A', L'B', L'C', L'D', L'E', L'F'};
    SetBytes(L"Unterminated", REG_SZ, full, sizeof(full));
    wchar_t value[kMachineStringChars];
    ASSERT_TRUE(ReadMachineRegistryString(kTestKey, L"Unterminated", value));
    EXPECT_EQ(std::wcslen(value), kMachineStringChars - 1);
}

TEST_F(MachineRegistryStringTest, FailuresLeaveTheOutputAsItWas) {
    SetString(L"TooLong", std::wstring(40, L'y'));
    wchar_t value[kMachineStringChars] = L"before";
    EXPECT_FALSE(ReadMachineRegistryString(kTestKey, L"TooLong", value));
    EXPECT_FALSE(ReadMachineRegistryString(kTestKey, L"Absent", value));
    EXPECT_FALSE(ReadMachineRegistryString(L"Software\\VelmoraTest\\NoSuchKey", L"X", value));
    EXPECT_STREQ(value, L"before");
}

}  // namespace
