// The shortcut page from its real template inside a stand-in main window: loading the stored
// values, the layout, the groups and paging buttons, and what OK and Apply write and post.
#include <gtest/gtest.h>

#include <cwchar>
#include <set>
#include <string>

#include "settings/RunConfig.h"
#include "shortcuts/ShortCutSetDlg.h"
#include "skin/AppMessages.h"
#include "skin/SkinSurface.h"
#include "tests/shortcuts/ShortcutTestSupport.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScratchFolder.h"

namespace {

using hotkeys::kTable;
using shortcuts::kHotkeyRows;
using shortcuttest::PressKey;

constexpr RECT kPageRect{503, 93, 503 + 268, 93 + 178};

// Row of the hotkey table by its settings key.
size_t Row(const std::wstring& key) {
    for (size_t i = 0; i < kTable.size(); ++i) {
        if (key == kTable[i].key) {
            return i;
        }
    }
    ADD_FAILURE() << "no row";
    return 0;
}

// The lines of one section, without its header.
std::string Section(const std::string& file, const std::string& name) {
    const std::string header = "[" + name + "]";
    size_t start = file.find(header);
    if (start == std::string::npos) {
        return {};
    }
    start = file.find('\n', start) + 1;
    size_t end = file.find("\n[", start);
    return file.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

// The file without its "HotKey" section.
std::string WithoutHotkeys(const std::string& file) {
    const std::string section = Section(file, "HotKey");
    std::string rest = file;
    const size_t at = rest.find("[HotKey]");
    if (at != std::string::npos) {
        rest.erase(at, std::string("[HotKey]\r\n").size() + section.size());
    }
    return rest;
}

// The page writes ".\RunConfig.dat": it runs in a folder of its own.
class ShortCutSetDlgTest : public testing::Test, protected testkit::SettingsFolder {
  protected:
    ShortCutSetDlgTest() : SettingsFolder(L"shortcuts") {}

    void SetUp() override {
        WriteSettings(
            "[SettingInfo]\r\nRunValue=2\r\n[HotKey]\r\nQuality_NormalMode=5\r\nExtra=9\r\n"
            "[Clock_Set]\r\nGPUFrequency=700\r\n; a comment\r\n");

        g_runSettings = RunSettings{};
        HotkeySettings& keys = g_runSettings.Hotkeys;
        keys.Keys[0] = 1118785;                                        // Ctrl+Alt+A
        keys.Keys[5] = 0x10111241;                                     // refused
        keys.Keys[11] = 0x7F111270;                                    // garbage in the Shift byte
        keys.Keys[15] = -1;                                            // garbage
        keys.Keys[16] = static_cast<std::int32_t>(0x80000000u + 'K');  // negative, unnamed
        ASSERT_TRUE(surface.Create(nullptr));
        ASSERT_TRUE(page.Create(main.hwnd()));
        ::SetWindowPos(page.GetSafeHwnd(), nullptr, kPageRect.left, kPageRect.top,
                       kPageRect.right - kPageRect.left, kPageRect.bottom - kPageRect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        page.AttachSkin(&surface, nullptr);
        page.ShowPage(SW_SHOW);
        testkit::RunMessageLoop();
        main.Clear();
    }
    std::string File() const { return SettingsText(); }
    std::set<int> VisibleFieldIds() {
        std::set<int> ids;
        for (size_t i = 0; i < kTable.size(); ++i) {
            if (::IsWindowVisible(page.field(i).GetSafeHwnd())) {
                ids.insert(kTable[i].id);
            }
        }
        return ids;
    }
    void ClickPagingButton(int subPage) {
        HWND button = page.pagingButton(subPage).GetSafeHwnd();
        ::SendMessageW(page.GetSafeHwnd(), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }

    testkit::HostWindow main;
    SkinSurface surface;
    CShortCutSetDlg page;
};

TEST_F(ShortCutSetDlgTest, LoadsEachFieldFromItsKeyBoundedLikeACapture) {
    EXPECT_EQ(page.field(0).keyText, L"CTRL+ALT+A");
    EXPECT_EQ(page.field(0).label, L"标准模式");
    EXPECT_EQ(page.field(0).prompt, L"直接按键盘进行设置");
    EXPECT_EQ(page.field(Row(L"3D_HDMode")).value, 0u);
    EXPECT_TRUE(page.field(Row(L"3D_HDMode")).keyText.empty());
    EXPECT_EQ(page.field(Row(L"GPU2Add1")).value, 0x00111270u);
    EXPECT_EQ(page.field(Row(L"GPU2Add1")).keyText, L"CTRL+ALT+F1");
    EXPECT_EQ(page.field(Row(L"GPU3Add1")).value, 0u);
    EXPECT_TRUE(page.field(Row(L"GPU3Add1")).keyText.empty());
    // A bare key would act in every program: it is no hotkey, so the field is empty.
    EXPECT_EQ(page.field(Row(L"GPU3Sub1")).value, 0u);
    EXPECT_TRUE(page.field(Row(L"GPU3Sub1")).keyText.empty());
    EXPECT_EQ(page.field(Row(L"GPU1Add1")).value, 0u);
}

TEST_F(ShortCutSetDlgTest, FieldsShareFourRowsAndThePagingButtonsSitUnderThem) {
    const int tops[] = {23, 48, 73, 98};
    for (size_t i = 0; i < kTable.size(); ++i) {
        RECT rect{};
        ::GetWindowRect(page.field(i).GetSafeHwnd(), &rect);
        ::MapWindowPoints(HWND_DESKTOP, page.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, 4) << i;
        EXPECT_EQ(rect.top, tops[kHotkeyRows[i].place.row - 1]) << i;
        EXPECT_EQ(rect.right - rect.left, 260) << i;
        EXPECT_EQ(rect.bottom - rect.top, 18) << i;
    }
    const int lefts[] = {130, 160, 190};
    for (int n = 0; n < 3; ++n) {
        RECT rect{};
        ::GetWindowRect(page.pagingButton(n).GetSafeHwnd(), &rect);
        ::MapWindowPoints(HWND_DESKTOP, page.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, lefts[n]);
        EXPECT_EQ(rect.top, 130);
        EXPECT_EQ(rect.right - rect.left, 10);
        EXPECT_EQ(rect.bottom - rect.top, 10);
    }
}

TEST_F(ShortCutSetDlgTest, GroupsShowTheirFieldsAndThePagingButtonsChooseTheSubPage) {
    EXPECT_EQ(VisibleFieldIds(), (std::set<int>{1000, 1001, 1002, 1003}));
    EXPECT_TRUE(page.pagingButton(0).toggled);
    EXPECT_FALSE(page.pagingButton(1).toggled);

    page.SelectItem(1);
    EXPECT_EQ(VisibleFieldIds(), (std::set<int>{1004, 1005, 1006}));
    EXPECT_FALSE(page.pagingButton(0).shown);
    EXPECT_GE(main.Count(WM_APP_REFRESH_LAYER), 1);

    page.SelectItem(2);
    EXPECT_EQ(VisibleFieldIds(), (std::set<int>{1007, 1008, 1009, 1010}));
    EXPECT_TRUE(page.pagingButton(0).shown);
    EXPECT_TRUE(page.pagingButton(2).shown);

    ClickPagingButton(1);
    EXPECT_EQ(page.currentSubPage(), 1);
    EXPECT_EQ(VisibleFieldIds(), (std::set<int>{1011, 1012, 1013, 1014}));
    EXPECT_FALSE(page.pagingButton(0).toggled);
    EXPECT_TRUE(page.pagingButton(1).toggled);

    ClickPagingButton(2);
    EXPECT_EQ(VisibleFieldIds(), (std::set<int>{1015, 1016}));
    EXPECT_TRUE(page.pagingButton(2).toggled);

    ClickPagingButton(0);
    EXPECT_EQ(VisibleFieldIds(), (std::set<int>{1007, 1008, 1009, 1010}));

    // A paging button chooses the overclocking group from any other group.
    page.SelectItem(0);
    ClickPagingButton(1);
    EXPECT_EQ(page.currentGroup(), 2);
    EXPECT_EQ(VisibleFieldIds(), (std::set<int>{1011, 1012, 1013, 1014}));

    page.SelectItem(7);
    EXPECT_TRUE(VisibleFieldIds().empty());
    EXPECT_FALSE(page.pagingButton(1).shown);
}

TEST_F(ShortCutSetDlgTest, EnterInAFieldLeavesTheFieldsAndKeepsTheValue) {
    HWND first = page.field(0).GetSafeHwnd();
    ::SendMessageW(first, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 9));
    ::SendMessageW(first, WM_LBUTTONUP, 0, MAKELPARAM(30, 9));
    ASSERT_EQ(::GetFocus(), first);
    PressKey(first, VK_RETURN);
    EXPECT_FALSE(page.field(0).focused);
    for (size_t i = 0; i < kTable.size(); ++i) {
        EXPECT_NE(::GetFocus(), page.field(i).GetSafeHwnd()) << i;
    }
    EXPECT_EQ(page.field(0).value, 0x00111241u);
}

TEST_F(ShortCutSetDlgTest, ApplyWritesTheHotKeySectionOnlyAndAsksForRegistration) {
    const std::string before = File();
    // One field cleared with Backspace, two holding the same combination.
    PressKey(page.field(0).GetSafeHwnd(), VK_BACK);
    page.SelectItem(1);
    PressKey(page.field(Row(L"3D_WorkMode")).GetSafeHwnd(), 'A', {VK_CONTROL, VK_MENU});
    PressKey(page.field(Row(L"3D_GameMode")).GetSafeHwnd(), 'A', {VK_CONTROL, VK_MENU});

    page.OnApplyPage();
    testkit::RunMessageLoop();
    EXPECT_EQ(main.Count(WM_APP_HOTKEYS_CHANGED), 1);
    EXPECT_EQ(main.Count(WM_APP_SHOW_STATE), 0);

    const std::string after = File();
    EXPECT_EQ(WithoutHotkeys(after), WithoutHotkeys(before));
    const std::string hotkeys = Section(after, "HotKey");
    EXPECT_NE(hotkeys.find("Quality_NormalMode=0\r\n"), std::string::npos) << hotkeys;
    EXPECT_NE(hotkeys.find("3D_WorkMode=1118785\r\n"), std::string::npos) << hotkeys;
    EXPECT_NE(hotkeys.find("3D_GameMode=1118785\r\n"), std::string::npos) << hotkeys;
    EXPECT_NE(hotkeys.find("3D_HDMode=0\r\n"), std::string::npos) << hotkeys;
    EXPECT_NE(hotkeys.find("GPU2Add1=1118832\r\n"), std::string::npos) << hotkeys;
    EXPECT_NE(hotkeys.find("GPU3Add1=0\r\n"), std::string::npos) << hotkeys;
    EXPECT_NE(hotkeys.find("Extra=9\r\n"), std::string::npos) << hotkeys;
    EXPECT_EQ(g_runSettings.Hotkeys.Keys[4], 1118785);
    EXPECT_EQ(g_runSettings.Hotkeys.Keys[0], 0);
    for (const auto& entry : kTable) {
        EXPECT_NE(hotkeys.find(std::string(entry.key, entry.key + std::wcslen(entry.key)) + "="),
                  std::string::npos);
    }

    // Unchanged fields: the same values again, and again a registration request.
    page.OnApplyPage();
    testkit::RunMessageLoop();
    EXPECT_EQ(File(), after);
    EXPECT_EQ(main.Count(WM_APP_HOTKEYS_CHANGED), 2);
}

TEST_F(ShortCutSetDlgTest, OkSavesThenHidesTheMainWindowAndDefaultDoesNothing) {
    page.OnRestoreDefault();
    testkit::RunMessageLoop();
    EXPECT_EQ(page.field(0).value, 0x00111241u);
    EXPECT_EQ(main.Count(WM_APP_HOTKEYS_CHANGED), 0);

    PressKey(page.field(1).GetSafeHwnd(), VK_F2, {VK_CONTROL, VK_MENU});
    page.OnConfirm();
    testkit::RunMessageLoop();
    EXPECT_EQ(main.Count(WM_APP_HOTKEYS_CHANGED), 1);
    const auto shows = main.Of(WM_APP_SHOW_STATE);
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_EQ(shows[0].wParam, 0u);
    EXPECT_EQ(shows[0].lParam, 0);
    EXPECT_NE(Section(File(), "HotKey").find("Quality_WorkMode=1118833\r\n"), std::string::npos);
}

}  // namespace
