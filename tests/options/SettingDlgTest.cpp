// The options dialog from inside its own modal loop: what OK writes to the Run key and to the
// settings file, and what every other way out leaves alone.
#include "app/core/CommandLine.h"
#include "options/SettingDlg.h"
#include "options/core/AutoRunValue.h"
#include "res/resource.h"
#include "settings/RunConfig.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedDialog.h"
#include "tests/support/SkinSession.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring OwnPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// The data of this executable's Run value, or nothing when there is none.
std::optional<std::wstring> RunValue() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    wchar_t data[600] = {};
    DWORD type = 0;
    DWORD size = sizeof(data) - sizeof(wchar_t);
    const LONG result = ::RegQueryValueExW(key, options::RunValueName(OwnPath()).c_str(), nullptr,
                                           &type, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) {
        return std::nullopt;
    }
    // A proper REG_SZ counts its terminating NUL.
    EXPECT_EQ(size % sizeof(wchar_t), 0u);
    EXPECT_GE(size, sizeof(wchar_t));
    EXPECT_EQ(data[size / sizeof(wchar_t) - 1], L'\0');
    return std::wstring(data);
}

void DeleteRunValue() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueW(key, options::RunValueName(OwnPath()).c_str());
        ::RegCloseKey(key);
    }
}

// The dialog with a test script run from inside its modal loop, and a registry side that can
// record, refuse, or do what the program does.
class ScriptedSettingDlg : public testkit::ScriptedDialog<ScriptedSettingDlg, SettingDlg> {
  public:
    ScriptedSettingDlg() : ScriptedDialog(nullptr) {}

    bool refuseRegistry = false;
    bool pathTooLong = false;
    int registryCalls = 0;

    void Click(int id) {
        ::SendMessageW(GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(GetSafeHwnd(), id)));
    }
    CBmButton* Button(int id) { return static_cast<CBmButton*>(fw::CWnd::FromHandle(Item(id))); }
    HWND Item(int id) const { return ::GetDlgItem(GetSafeHwnd(), id); }

  protected:
    bool SetAutoRun(const std::wstring& path, std::wstring_view switchName) override {
        ++registryCalls;
        return !refuseRegistry && SettingDlg::SetAutoRun(path, switchName);
    }
    bool RemoveAutoRun(const std::wstring& path) override {
        ++registryCalls;
        return !refuseRegistry && SettingDlg::RemoveAutoRun(path);
    }
    std::optional<std::wstring> ProgramPath() override {
        return pathTooLong ? std::nullopt : SettingDlg::ProgramPath();
    }
};

// Runs in a folder of its own whose settings template is the file every writer saves to (the
// loader never runs here, so nothing reaches the real per-user copy).
class OptionsDialog : public testkit::WithSkin<> {
  protected:
    static void SetUpTestSuite() {
        WithSkin::SetUpTestSuite();
        folder_.emplace(L"options");
    }
    static void TearDownTestSuite() {
        DeleteRunValue();
        folder_.reset();
        WithSkin::TearDownTestSuite();
    }
    void SetUp() override {
        DeleteRunValue();
        folder_->WriteSettings("[SettingInfo]\r\nRunValue=1\r\nExitKeep=0\r\n");
        g_runSettings.App.RunValue = 1;
        g_runSettings.App.ExitKeep = false;
    }

    static int FileValue(const wchar_t* key) {
        return folder_->SettingsInt(L"SettingInfo", key, -1);
    }
    static void ForgetFileValues() { folder_->WriteSettings("[SettingInfo]\r\n"); }
    static INT_PTR Run(ScriptedSettingDlg& dialog,
                       const std::function<void(ScriptedSettingDlg&)>& script) {
        dialog.script = script;
        return dialog.DoModal();
    }

  private:
    static inline std::optional<testkit::SettingsFolder> folder_;
};

TEST_F(OptionsDialog, OpensBorderlessColourKeyedAtThePictureSizeWithTheStoredChoicesMarked) {
    g_runSettings.App.RunValue = 3;
    g_runSettings.App.ExitKeep = true;
    ScriptedSettingDlg dialog;
    Run(dialog, [](ScriptedSettingDlg& d) {
        HWND hwnd = d.GetSafeHwnd();
        const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
        EXPECT_EQ(style & WS_CAPTION, 0);
        EXPECT_NE(style & WS_SYSMENU, 0);
        EXPECT_NE(::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        COLORREF key = 1;
        DWORD flags = 0;
        ASSERT_TRUE(::GetLayeredWindowAttributes(hwnd, &key, nullptr, &flags));
        EXPECT_EQ(key, RGB(0, 0, 0));
        EXPECT_NE(flags & LWA_COLORKEY, 0u);
        RECT rect{};
        ::GetWindowRect(hwnd, &rect);
        EXPECT_EQ(rect.right - rect.left, 264);
        EXPECT_EQ(rect.bottom - rect.top, 328);
        for (int id = IDC_START_NONE; id <= IDC_START_APPLY_EXIT; ++id) {
            EXPECT_EQ(d.Button(id)->toggled, id == IDC_START_TRAY) << id;
        }
        EXPECT_TRUE(d.Button(IDC_EXIT_SAVE)->toggled);
        d.Click(IDC_SETTINGS_CLOSE);
    });
}

TEST_F(OptionsDialog, OkWritesTheQuotedValueForAStartModeAndDeletesItForNone) {
    ScriptedSettingDlg minimised;
    EXPECT_EQ(Run(minimised,
                  [](ScriptedSettingDlg& d) {
                      d.Click(IDC_START_MINIMISED);
                      d.Click(IDC_SETTINGS_OK);
                  }),
              IDOK);
    const std::optional<std::wstring> data = RunValue();
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(*data, L"\"" + OwnPath() + L"\" /Min");
    EXPECT_EQ(ParseStartMode(*data), StartMode::Minimized);
    EXPECT_EQ(g_runSettings.App.RunValue, 2);
    EXPECT_EQ(FileValue(L"RunValue"), 2);

    ScriptedSettingDlg normal;
    Run(normal, [](ScriptedSettingDlg& d) {
        d.Click(IDC_START_NORMAL);
        d.Click(IDC_SETTINGS_OK);
    });
    EXPECT_EQ(RunValue(), L"\"" + OwnPath() + L"\"");

    ScriptedSettingDlg none;
    Run(none, [](ScriptedSettingDlg& d) {
        d.Click(IDC_START_NONE);
        d.Click(IDC_SETTINGS_OK);
    });
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_EQ(FileValue(L"RunValue"), 0);
}

TEST_F(OptionsDialog, ARefusedRegistryWriteKeepsTheOldModeAndWritesItAgain) {
    for (const bool tooLong : {false, true}) {
        SetUp();
        ForgetFileValues();
        ScriptedSettingDlg dialog;
        dialog.refuseRegistry = !tooLong;
        dialog.pathTooLong = tooLong;
        Run(dialog, [](ScriptedSettingDlg& d) {
            d.Click(IDC_START_TRAY);
            d.Click(IDC_EXIT_SAVE);
            d.Click(IDC_SETTINGS_OK);
        });
        // The refused write was tried; a path that does not fit is never written.
        EXPECT_EQ(dialog.registryCalls, tooLong ? 0 : 1);
        EXPECT_EQ(g_runSettings.App.RunValue, 1) << tooLong;
        EXPECT_EQ(FileValue(L"RunValue"), 1) << tooLong;
        // The exit-save choice is taken all the same.
        EXPECT_TRUE(g_runSettings.App.ExitKeep);
        EXPECT_EQ(FileValue(L"ExitKeep"), 1);
        EXPECT_FALSE(RunValue().has_value()) << tooLong;
    }
}

TEST_F(OptionsDialog, OkWithoutANewModeLeavesTheRegistryAloneAndStillSaves) {
    ForgetFileValues();
    ScriptedSettingDlg dialog;
    Run(dialog, [](ScriptedSettingDlg& d) { d.Click(IDC_SETTINGS_OK); });
    EXPECT_EQ(dialog.registryCalls, 0);
    EXPECT_EQ(FileValue(L"RunValue"), 1);
    EXPECT_EQ(FileValue(L"ExitKeep"), 0);
}

TEST_F(OptionsDialog, AnUnknownStoredModeIsShownUnmarkedAndKept) {
    g_runSettings.App.RunValue = 7;
    ScriptedSettingDlg dialog;
    Run(dialog, [](ScriptedSettingDlg& d) {
        for (int id = IDC_START_NONE; id <= IDC_START_APPLY_EXIT; ++id) {
            EXPECT_FALSE(d.Button(id)->toggled) << id;
        }
        d.Click(IDC_SETTINGS_OK);
    });
    EXPECT_EQ(dialog.registryCalls, 0);
    EXPECT_EQ(g_runSettings.App.RunValue, 7);
}

TEST_F(OptionsDialog, DeleteAndCloseSaveNothing) {
    for (const int way : {IDC_SETTINGS_DELETE, IDC_SETTINGS_CLOSE}) {
        ForgetFileValues();
        ScriptedSettingDlg dialog;
        const INT_PTR result = Run(dialog, [way](ScriptedSettingDlg& d) {
            d.Click(IDC_START_APPLY_EXIT);
            d.Click(IDC_EXIT_SAVE);
            d.Click(way);
        });
        EXPECT_EQ(result, way == IDC_SETTINGS_DELETE ? IDCANCEL : IDOK);
        EXPECT_EQ(dialog.registryCalls, 0);
        EXPECT_EQ(g_runSettings.App.RunValue, 1);
        EXPECT_FALSE(g_runSettings.App.ExitKeep);
        EXPECT_EQ(FileValue(L"RunValue"), -1);
        EXPECT_FALSE(RunValue().has_value());
    }
}

// Ends the run with 9 (proof that nothing else ended it first).
void CALLBACK EndRunWithNine(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hwnd, id);
    static_cast<SettingDlg*>(fw::CWnd::FromHandle(hwnd))->EndDialog(9);
}

TEST_F(OptionsDialog, EnterAndEscapeDoNothing) {
    ForgetFileValues();
    ScriptedSettingDlg dialog;
    EXPECT_EQ(Run(dialog,
                  [](ScriptedSettingDlg& d) {
                      const HWND targets[] = {d.GetSafeHwnd(), d.Item(IDC_SETTINGS_OK)};
                      for (HWND target : targets) {
                          ::PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0);
                          ::PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
                      }
                      ::SetTimer(d.GetSafeHwnd(), 3, 300, &EndRunWithNine);
                  }),
              9);
    EXPECT_EQ(FileValue(L"RunValue"), -1);
}

}  // namespace
