// Window objects: messages decoded once into typed handlers, and binding through the system's
// subclass chain.
#include "framework/Wnd.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kClassName[] = L"VelmoraWndTest";

// Records what its typed handlers were given; each handles its message unless told otherwise.
class RecordingWindow : public fw::CWnd {
  public:
    RecordingWindow() {
        static const ATOM registered = fw::CWnd::RegisterWindowClass(kClassName, 0, nullptr);
        (void)registered;
        if (!CreateEx(WS_EX_LAYERED, kClassName, L"", WS_POPUP, RECT{0, 0, 50, 50}, nullptr)) {
            ADD_FAILURE() << "no window";
        }
    }

    POINT point{};
    UINT keys = 0;
    UINT_PTR timer = 0;
    int hotkey = 0;
    int commandId = 0;
    int commandCode = 0;
    int leaves = 0;
    HWND gainingCapture = nullptr;
    bool handleText = true;

  protected:
    bool OnLButtonDown(UINT k, POINT p) override {
        keys = k;
        point = p;
        return true;
    }
    bool OnMouseLeave() override {
        ++leaves;
        return true;
    }
    bool OnCaptureChanged(HWND gaining) override {
        gainingCapture = gaining;
        return true;
    }
    bool OnTimer(UINT_PTR id) override {
        timer = id;
        return true;
    }
    bool OnHotKey(int id) override {
        hotkey = id;
        return true;
    }
    bool OnCommand(int id, int code, HWND) override {
        commandId = id;
        commandCode = code;
        return true;
    }
    bool OnSetText(const wchar_t*) override { return handleText; }
};

TEST(TypedHandlers, MessagesArriveDecoded) {
    RecordingWindow window;
    HWND hwnd = window.GetSafeHwnd();
    // Points are signed: a capture reports positions left of and above the window.
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 7));
    EXPECT_EQ(window.point.x, -5);
    EXPECT_EQ(window.point.y, 7);
    EXPECT_EQ(window.keys, static_cast<UINT>(MK_LBUTTON | MK_SHIFT));
    ::SendMessageW(hwnd, WM_TIMER, 1123, 0);
    EXPECT_EQ(window.timer, 1123u);
    ::SendMessageW(hwnd, WM_HOTKEY, 1007, MAKELPARAM(MOD_CONTROL, 'A'));
    EXPECT_EQ(window.hotkey, 1007);
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(1037, BN_CLICKED), 0);
    EXPECT_EQ(window.commandId, 1037);
    EXPECT_EQ(window.commandCode, BN_CLICKED);
    ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(window.leaves, 1);
    ::SendMessageW(hwnd, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    EXPECT_EQ(window.gainingCapture, hwnd);
}

TEST(TypedHandlers, AnUnhandledMessageGetsTheDefaultProcessing) {
    RecordingWindow window;
    HWND hwnd = window.GetSafeHwnd();
    EXPECT_EQ(::SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"handled")), TRUE);
    EXPECT_EQ(::GetWindowTextLengthW(hwnd), 0);
    window.handleText = false;
    ::SetWindowTextW(hwnd, L"default");
    wchar_t text[16] = {};
    ::GetWindowTextW(hwnd, text, 16);
    EXPECT_STREQ(text, L"default");
}

// A subclassed system button whose press handler runs the button's own processing.
class PressedButton : public fw::CButton {
  public:
    bool captured = false;

  protected:
    bool OnLButtonDown(UINT, POINT) override {
        Default();
        captured = ::GetCapture() == GetSafeHwnd();
        return true;
    }
};

TEST(TypedHandlers, DefaultRunsTheControlsOwnProcessingOfTheMessage) {
    RecordingWindow parent;
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20,
                                    parent.GetSafeHwnd(), nullptr, nullptr, nullptr);
    PressedButton pressed;
    ASSERT_TRUE(pressed.SubclassWindow(button));
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(pressed.captured);
    ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(::GetCapture(), nullptr);
}

// A subclass installed by someone else after ours, counting the messages it sees.
LRESULT CALLBACK CountingSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR count) {
    if (msg == WM_SETTEXT) {
        ++*reinterpret_cast<int*>(count);
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

class CountingStatic : public fw::CStatic {
  public:
    int texts = 0;

  protected:
    bool OnSetText(const wchar_t*) override {
        ++texts;
        return false;
    }
};

TEST(Subclassing, UnbindingKeepsALaterSubclassAndTheControlsOwnProcedure) {
    RecordingWindow parent;
    HWND control = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 20, 20,
                                     parent.GetSafeHwnd(), nullptr, nullptr, nullptr);
    CountingStatic first;
    ASSERT_TRUE(first.SubclassWindow(control));
    CountingStatic second;
    EXPECT_FALSE(second.SubclassWindow(control));  // one object per window
    int laterCount = 0;
    ASSERT_TRUE(::SetWindowSubclass(control, &CountingSubclass, 7,
                                    reinterpret_cast<DWORD_PTR>(&laterCount)));
    ::SetWindowTextW(control, L"one");
    EXPECT_EQ(first.texts, 1);
    EXPECT_EQ(laterCount, 1);

    EXPECT_EQ(first.UnsubclassWindow(), control);
    EXPECT_EQ(fw::CWnd::FromHandle(control), nullptr);
    ::SetWindowTextW(control, L"two");
    EXPECT_EQ(first.texts, 1);
    EXPECT_EQ(laterCount, 2);
    // The static's own procedure answers again, not just the default one.
    EXPECT_EQ(::SendMessageW(control, WM_GETDLGCODE, 0, 0), static_cast<LRESULT>(DLGC_STATIC));

    ASSERT_TRUE(second.SubclassWindow(control));
    ::SetWindowTextW(control, L"three");
    EXPECT_EQ(second.texts, 1);
    EXPECT_EQ(laterCount, 3);
    ::RemoveWindowSubclass(control, &CountingSubclass, 7);
    ::DestroyWindow(control);
    EXPECT_EQ(second.GetSafeHwnd(), nullptr);  // unbound when the window went away
}

}  // namespace
