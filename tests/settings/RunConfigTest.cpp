// The program's own settings file: the per-user copy in the real documents folder, made from the
// template in the current directory, and the section writers saving there.
#include "settings/RunConfig.h"
#include "tests/support/FileText.h"
#include "tests/support/ScratchFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

using ::testing::HasSubstr;

namespace {

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Moves an existing per-user copy aside for the test and puts it back afterwards.
class DocumentsCopyGuard {
  public:
    explicit DocumentsCopyGuard(std::wstring path)
        : path_(std::move(path)), had_(Exists(path_)), saved_(testkit::ReadFileText(path_)) {
        ::DeleteFileW(path_.c_str());
    }
    ~DocumentsCopyGuard() {
        ::DeleteFileW(path_.c_str());
        if (had_) {
            std::ofstream(std::filesystem::path(path_), std::ios::binary) << saved_;
        }
    }

  private:
    std::wstring path_;
    bool had_;
    std::string saved_;
};

TEST(RunConfig, LoaderCopiesTheTemplateIntoDocumentsAndWritersSaveThere) {
    wchar_t documents[MAX_PATH];
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE));
    const std::wstring userCopy = std::wstring(documents) + L"\\TVRunConfig.dat";
    DocumentsCopyGuard guard(userCopy);

    const std::string templateText = "[SettingInfo]\r\nRunValue=4\r\n[HotKey]\r\nGPU3Sub1=7\r\n";
    const testkit::SettingsFolder folder(L"runconfig");
    folder.WriteSettings(templateText);
    const std::wstring templatePath = folder.settingsFile().wstring();

    LoadRunConfig();
    EXPECT_EQ(UserConfigPath(), userCopy);
    EXPECT_EQ(ActiveConfigPath(), userCopy);
    EXPECT_EQ(g_runSettings.App.RunValue, 4);
    EXPECT_EQ(g_runSettings.Hotkeys.Keys[16], 7);

    g_runSettings.App.RunValue = 1;
    SaveAppSettings();
    EXPECT_THAT(testkit::ReadFileText(userCopy), HasSubstr("RunValue=1"));
    EXPECT_EQ(testkit::ReadFileText(templatePath), templateText);
}

}  // namespace
