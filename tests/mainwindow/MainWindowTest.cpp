// The main window from inside its own modal loop: presentation and message filtering.
#include "app/WindowClass.h"
#include "framework/GdiplusSession.h"
#include "mainwindow/TalvaneDlg.h"
#include "res/resource.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr UINT kRunScript = WM_APP + 100;

// The main window with a test script run from inside its modal loop.
class ScriptedMainWindow : public CTalvaneDlg {
  public:
    std::function<void(ScriptedMainWindow&)> script;
    using CTalvaneDlg::PushLayer;

  protected:
    BOOL OnInitDialog() override {
        BOOL result = CTalvaneDlg::OnInitDialog();
        ::PostMessageW(GetSafeHwnd(), kRunScript, 0, 0);
        return result;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kRunScript) {
            if (script) {
                script(*this);
            }
            ::PostMessageW(GetSafeHwnd(), WM_COMMAND, IDC_CLOSE_BUTTON, 0);
            return 0;
        }
        return CTalvaneDlg::WindowProc(msg, wParam, lParam);
    }
};

class MainWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        gdiplus_ = std::make_unique<fw::GdiplusSession>();
        RegisterMainWindowClass(::GetModuleHandleW(nullptr));
        LoadSkinImages();
    }
    static void TearDownTestSuite() {
        gdiplus_.reset();
        ReleaseSkinImages();
    }

    // Runs the window with the script; the run ends with the close button after the script
    // unless something the script queued ended it first.
    static INT_PTR RunUntilClosed(const std::function<void(ScriptedMainWindow&)>& script) {
        ScriptedMainWindow window;
        window.script = script;
        return window.DoModal();
    }
    static void Run(const std::function<void(ScriptedMainWindow&)>& script) {
        EXPECT_EQ(RunUntilClosed(script), IDOK);
    }

  private:
    static inline std::unique_ptr<fw::GdiplusSession> gdiplus_;
};

RECT WindowRect(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

TEST_F(MainWindow, IsALayered800By328WindowOfItsClass) {
    Run([](ScriptedMainWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        wchar_t className[64] = {};
        ::GetClassNameW(hwnd, className, 64);
        EXPECT_STREQ(className, kMainWindowClass);
        EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
        RECT rect = WindowRect(hwnd);
        EXPECT_EQ(rect.right - rect.left, 800);
        EXPECT_EQ(rect.bottom - rect.top, 328);
        wchar_t title[32] = {};
        ::GetWindowTextW(hwnd, title, 32);
        EXPECT_STREQ(title, L"Velmora");
    });
}

TEST_F(MainWindow, PresentingKeepsTheWindowWhereItIs) {
    Run([](ScriptedMainWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        ::SetWindowPos(hwnd, nullptr, 123, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(::SendMessageW(hwnd, WM_APP_REFRESH_LAYER, 0, 0), 1);
        RECT rect = WindowRect(hwnd);
        EXPECT_EQ(rect.left, 123);
        EXPECT_EQ(rect.top, 45);
        EXPECT_EQ(rect.right - rect.left, 800);
        EXPECT_EQ(rect.bottom - rect.top, 328);
    });
}

TEST_F(MainWindow, StartScreenHasNoPageAndTheFirstSelectionSwitchesToThePageScreen) {
    Run([](ScriptedMainWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        EXPECT_FALSE(window.pageChosen());
        EXPECT_EQ(window.currentPage(), nullptr);
        // The start screen's right half is fully transparent: nothing but the start picture.
        EXPECT_EQ(window.surface.Pixel(741, 64) >> 24, 0u);
        ::SendMessageW(hwnd, WM_APP_NAVIGATE, 3, 0);
        EXPECT_TRUE(window.pageChosen());
        ASSERT_NE(window.currentPage(), nullptr);
        EXPECT_TRUE(::IsWindowVisible(window.currentPage()->GetSafeHwnd()));
        EXPECT_NE(window.surface.Pixel(741, 64) >> 24, 0u);  // the minimise button is drawn
        // Unknown codes change nothing.
        CSkinSubDialog* page = window.currentPage();
        ::SendMessageW(hwnd, WM_APP_NAVIGATE, 0, 0);
        ::SendMessageW(hwnd, WM_APP_NAVIGATE, 10, 0);
        EXPECT_EQ(window.currentPage(), page);
    });
}

TEST_F(MainWindow, ItemListSeesMouseMessagesBeforeTheWindow) {
    Run([](ScriptedMainWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        ::SendMessageW(hwnd, WM_APP_NAVIGATE, 3, 0);  // overclocking page, four items
        // The first item of list 1 lies at (384, 80 + 33), 98 x 17.
        const LPARAM onItem = MAKELPARAM(384 + 10, 80 + 33 + 5);
        const LPARAM offItem = MAKELPARAM(600, 20);
        EXPECT_EQ(::SendMessageW(hwnd, WM_MOUSEMOVE, 0, onItem), 1);
        EXPECT_EQ(::SendMessageW(hwnd, WM_MOUSEMOVE, 0, offItem), 0);
        // A press over an item is consumed (no window drag) and posts the selection.
        EXPECT_EQ(::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, onItem), 1);
        MSG posted{};
        ASSERT_TRUE(
            ::PeekMessageW(&posted, hwnd, WM_APP_SELECT_ITEM, WM_APP_SELECT_ITEM, PM_REMOVE));
        EXPECT_EQ(posted.wParam, 1u);  // the page type of the overclocking list
        EXPECT_EQ(posted.lParam, 0);
        EXPECT_EQ(::SendMessageW(hwnd, WM_LBUTTONUP, 0, onItem), 1);
    });
}

TEST_F(MainWindow, ShowStateHidesOrMinimisesAndIgnoresOtherValues) {
    Run([](ScriptedMainWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        EXPECT_EQ(::SendMessageW(hwnd, WM_APP_SHOW_STATE, 0, 7), 1);
        EXPECT_TRUE(::IsWindowVisible(hwnd));
        EXPECT_EQ(::SendMessageW(hwnd, WM_APP_SHOW_STATE, 0, 0), 1);
        EXPECT_FALSE(::IsWindowVisible(hwnd));
        ::ShowWindow(hwnd, SW_SHOW);
        EXPECT_EQ(::SendMessageW(hwnd, WM_APP_SHOW_STATE, 0, 1), 1);
        EXPECT_TRUE(::IsIconic(hwnd));
        ::ShowWindow(hwnd, SW_RESTORE);
    });
}

TEST_F(MainWindow, EnterEscAndSpaceForTheFocusedWindowAreSwallowed) {
    EXPECT_EQ(RunUntilClosed([](ScriptedMainWindow& window) {
                  HWND hwnd = window.GetSafeHwnd();
                  ::SetFocus(hwnd);
                  for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_SPACE}) {
                      ::PostMessageW(hwnd, WM_KEYDOWN, key, 0);
                  }
              }),
              IDOK);  // still running when the close button came
}

TEST_F(MainWindow, EscapeWithNoFocusedWindowEndsTheRun) {
    EXPECT_EQ(RunUntilClosed([](ScriptedMainWindow& window) {
                  ::SetFocus(nullptr);
                  ::PostMessageW(window.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
              }),
              IDCANCEL);
}

TEST_F(MainWindow, CommandButtonsWithoutAPageDoNothing) {
    Run([](ScriptedMainWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        for (int id : {IDC_DEFAULT_BUTTON, IDC_APPLY_BUTTON, IDC_OK_BUTTON}) {
            ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        }
        EXPECT_TRUE(::IsWindowVisible(hwnd));
        EXPECT_EQ(window.currentPage(), nullptr);
    });
}

}  // namespace
