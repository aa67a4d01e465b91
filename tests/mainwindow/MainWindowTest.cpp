// The main window from inside its own modal loop: presentation and message filtering.
#include "app/WindowClass.h"
#include "gpu/DriverBinding.h"
#include "mainwindow/TalvaneDlg.h"
#include "res/resource.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Mouse.h"
#include "tests/support/ScriptedMainWindow.h"
#include "tests/support/SkinSession.h"
#include "update/CheckGate.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using testkit::ChildDialogCount;
using testkit::ClickMiddle;
using testkit::PumpUntil;
using testkit::ScriptedMainWindow;

// The five buttons of the window with their places and normal faces.
struct ButtonPicture {
    int id;
    RECT rect;
    const wchar_t* face;
};
constexpr ButtonPicture kButtons[] = {
    {IDC_MIN_BUTTON, {730, 55, 753, 74}, L"MainDlg_Min_N"},
    {IDC_CLOSE_BUTTON, {755, 55, 778, 74}, L"MainDlg_Close_N"},
    {IDC_DEFAULT_BUTTON, {423, 280, 505, 305}, L"MAINDLG_BTN_CLICK_DEFAULT"},
    {IDC_OK_BUTTON, {507, 280, 570, 305}, L"MAINDLG_BTN_CLICK_OK"},
    {IDC_APPLY_BUTTON, {572, 280, 654, 305}, L"MAINDLG_BTN_CLICK_APPLY"},
};

// A surface holding skin images drawn at their places, one over the other: the picture the
// window is expected to show there.
std::unique_ptr<SkinSurface> Picture(
    std::initializer_list<std::pair<const wchar_t*, POINT>> parts) {
    auto surface = std::make_unique<SkinSurface>();
    EXPECT_TRUE(surface->Create(nullptr));
    Gdiplus::Graphics graphics(surface->GetDC());
    for (const auto& [name, at] : parts) {
        skin::DrawWholeImage(graphics, FindSkinImage(name), at.x, at.y);
    }
    return surface;
}

// Pixels of a rectangle that differ between two surfaces.
int DifferingPixels(const SkinSurface& a, const SkinSurface& b, const RECT& rect) {
    int differing = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            differing += a.Pixel(x, y) != b.Pixel(x, y) ? 1 : 0;
        }
    }
    return differing;
}

// A page that records the operations the main window calls on it.
class RecordingPage : public CSkinSubDialog {
  public:
    RecordingPage() : CSkinSubDialog(IDD_DISPLAY) {}

    std::vector<int> selected;
    int confirmed = 0;
    int defaults = 0;
    int applied = 0;

    void SelectItem(int index) override { selected.push_back(index); }
    void OnConfirm() override { ++confirmed; }
    void OnRestoreDefault() override { ++defaults; }
    void OnApplyPage() override { ++applied; }
};

class MainWindow : public testkit::WithSkin<> {
  protected:
    static void SetUpTestSuite() {
        WithSkin::SetUpTestSuite();
        RegisterMainWindowClass(::GetModuleHandleW(nullptr));
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
        for (WPARAM size : {ICON_BIG, ICON_SMALL}) {
            EXPECT_NE(::SendMessageW(hwnd, WM_GETICON, size, 0), 0) << size;
        }
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
        // The buttons are drawn over the new background, which is opaque under them anyway.
        const auto background = Picture({{L"MainDlg_BKALL", {0, 0}}});
        for (const ButtonPicture& button : kButtons) {
            const auto expected = Picture(
                {{L"MainDlg_BKALL", {0, 0}}, {button.face, {button.rect.left, button.rect.top}}});
            EXPECT_GT(DifferingPixels(window.surface, *background, button.rect), 0) << button.id;
            EXPECT_EQ(DifferingPixels(window.surface, *expected, button.rect), 0) << button.id;
        }
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

// The window is activated by its show, not while it is made; once shown, its first control has
// the focus, as the system gives a dialog that lets it choose.
TEST_F(MainWindow, OnceStartedTheFirstControlHasTheFocusAndTheUpdateCheckMayGoOn) {
    ::ResetEvent(UpdateCheckGate());  // as at a start: an earlier window opened it
    Run([](ScriptedMainWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        ASSERT_EQ(::GetActiveWindow(), hwnd);
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(hwnd, IDC_MIN_BUTTON));
        EXPECT_EQ(::WaitForSingleObject(UpdateCheckGate(), 0), WAIT_OBJECT_0);
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

TEST_F(MainWindow, TheFirstSelectionDrawsTheSoftEdgesOfItsBackgroundOnce) {
    Run([](ScriptedMainWindow& window) {
        ::SendMessageW(window.GetSafeHwnd(), WM_APP_NAVIGATE, 3, 0);
        // Row 28 from x 200 crosses the half-transparent outline of both backgrounds, clear of
        // every control.
        const auto alone = Picture({{L"MainDlg_BKALL", {0, 0}}});
        EXPECT_EQ(DifferingPixels(window.surface, *alone, {200, 28, 216, 29}), 0);
        EXPECT_NE(alone->Pixel(200, 28) >> 24, 0xFFu);
    });
}

TEST_F(MainWindow, AClickAtTheMiddleOfADrawnButtonHitsThatButton) {
    Run([](ScriptedMainWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        ::SendMessageW(hwnd, WM_APP_NAVIGATE, 3, 0);
        // The surface is shown from the window's top-left corner.
        RECT frame{};
        ::GetWindowRect(hwnd, &frame);
        for (const ButtonPicture& button : kButtons) {
            // The middle of the picture's top and bottom rows (the slanted buttons are whole
            // there), and its middle.
            const LONG x = frame.left + (button.rect.left + button.rect.right) / 2;
            for (const LONG y : {button.rect.top, (button.rect.top + button.rect.bottom) / 2,
                                 button.rect.bottom - 1}) {
                EXPECT_EQ(::WindowFromPoint({x, frame.top + y}), ::GetDlgItem(hwnd, button.id))
                    << button.id << " at row " << y;
            }
        }
        // A real click in the middle of the minimise picture sends the window to the tray.
        ::SetCursorPos(frame.left + 741, frame.top + 64);
        INPUT press[2] = {};
        press[0].type = press[1].type = INPUT_MOUSE;
        press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ASSERT_EQ(::SendInput(2, press, sizeof(INPUT)), 2u);
        EXPECT_TRUE(PumpUntil([hwnd] { return !::IsWindowVisible(hwnd); }));
    });
}

TEST_F(MainWindow, CommandButtonsAndItemSelectionsReachTheCurrentPage) {
    RecordingPage page;
    Run([&page](ScriptedMainWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        ASSERT_TRUE(page.Create(hwnd));
        window.SelectPage(&page, skin::ItemListType::Overclock);
        ASSERT_EQ(window.currentPage(), &page);
        ClickMiddle(::GetDlgItem(hwnd, IDC_DEFAULT_BUTTON));
        ClickMiddle(::GetDlgItem(hwnd, IDC_APPLY_BUTTON));
        ClickMiddle(::GetDlgItem(hwnd, IDC_APPLY_BUTTON));
        ClickMiddle(::GetDlgItem(hwnd, IDC_OK_BUTTON));
        EXPECT_EQ(page.defaults, 1);
        EXPECT_EQ(page.applied, 2);
        EXPECT_EQ(page.confirmed, 1);
        // The third entry of the overclocking list lies at (384, 80 + 33 + 2 * 30), 98 x 17.
        const LPARAM third = MAKELPARAM(384 + 10, 80 + 93 + 5);
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, third);
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, third);
        EXPECT_TRUE(PumpUntil([&page] { return !page.selected.empty(); }));
    });
    EXPECT_EQ(page.selected, std::vector<int>{2});
}

// A window that navigates from inside its initialisation, before anything posted has run.
class EarlyNavigationWindow : public ScriptedMainWindow {
  public:
    EarlyNavigationWindow() {
        ending = Ending::EndDialogOk;
        script = [this](ScriptedMainWindow&) { pagesAtTheEnd = ChildDialogCount(GetSafeHwnd()); };
    }

    bool pageShown = false;
    int pagesAfterNavigation = 0;
    int pagesAtTheEnd = 0;

  protected:
    BOOL OnInitDialog() override {
        BOOL result = ScriptedMainWindow::OnInitDialog();
        HWND hwnd = GetSafeHwnd();
        ::SendMessageW(hwnd, WM_APP_NAVIGATE, 3, 0);
        // Its own style: the window itself is not on screen yet.
        pageShown = currentPage() != nullptr &&
                    (::GetWindowLongW(currentPage()->GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
        pagesAfterNavigation = ChildDialogCount(hwnd);
        return result;
    }
};

TEST_F(MainWindow, PagesAreReadyForANavigationBeforeTheStartFinishedAndMadeOnce) {
    Run([](ScriptedMainWindow& window) {
        EXPECT_EQ(ChildDialogCount(window.GetSafeHwnd()), 6);  // by the first posted message
    });
    EarlyNavigationWindow window;
    EXPECT_EQ(window.DoModal(), IDOK);
    EXPECT_TRUE(window.pageShown);
    EXPECT_EQ(window.pagesAfterNavigation, 6);
    EXPECT_EQ(window.pagesAtTheEnd, 6);
}

TEST_F(MainWindow, DriverTableIsBoundForTheWholeLifeOfTheWindow) {
    {
        ScriptedMainWindow window;
        EXPECT_NE(DriverBinding::Entries().ATIDL_GetODParameters, nullptr);
    }
    EXPECT_EQ(DriverBinding::Entries().ATIDL_GetODParameters, nullptr);
}

}  // namespace
