// The key field on a real window: key presses posted to it as the system queues them, the Alt
// path through WM_SYSCOMMAND, focus states, what it paints into the surface and how often it asks
// for a presentation.
#include <gtest/gtest.h>

#include <memory>

#include "shortcuts/ShortCutEdit.h"
#include "skin/AppMessages.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"
#include "tests/shortcuts/ShortcutTestSupport.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Mouse.h"

namespace {

using shortcuttest::PressKey;

constexpr DWORD kBackground = 0xFF336699;
constexpr DWORD kFocusedField = 0xFF221F1F;
constexpr DWORD kKeyBox = 0xFF5C5D60;
// The field as the shortcut page places it, in the main window's client coordinates.
constexpr RECT kField{507, 116, 767, 134};

class ShortCutEditTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface.Create(nullptr));
        HWND hwnd = ::CreateWindowExW(0, L"Static", L"标准模式", WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                                      kField.left, kField.top, kField.right - kField.left,
                                      kField.bottom - kField.top, main.hwnd(), nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(field.SubclassWindow(hwnd));
        field.label = L"标准模式";
        field.AttachSurface(background.get(), &surface);
        testkit::RunMessageLoop();
        main.Clear();
    }
    HWND hwnd() const { return field.GetSafeHwnd(); }
    int Refreshes() const { return main.Count(WM_APP_REFRESH_LAYER); }
    void Click() { testkit::ClickAt(hwnd(), {100, 9}); }
    // Pixels of the key box (rows 2..15 of the field) that are not the plain box colour.
    int InkInKeyBox() const {
        int ink = 0;
        for (int y = kField.top + 2; y < kField.bottom - 2; ++y) {
            for (int x = CShortCutEdit::kKeyBoxLeft; x <= CShortCutEdit::kKeyBoxRight; ++x) {
                ink += surface.Pixel(x, y) != kKeyBox;
            }
        }
        return ink;
    }

    testkit::HostWindow main;
    SkinSurface surface;
    std::unique_ptr<Gdiplus::Bitmap> background = [] {
        auto image = std::make_unique<Gdiplus::Bitmap>(800, 328, PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(image.get());
        Gdiplus::SolidBrush brush{Gdiplus::Color{kBackground}};
        graphics.FillRectangle(&brush, 0, 0, 800, 328);
        return image;
    }();
    CShortCutEdit field;
};

TEST_F(ShortCutEditTest, TakesTheHeldModifiersWithTheKeyAndAKeyAloneAsCtrlAlt) {
    PressKey(hwnd(), 'A', {VK_CONTROL, VK_MENU});
    EXPECT_EQ(field.value, 0x00111241u);
    EXPECT_EQ(field.keyText, L"CTRL+ALT+A");
    EXPECT_EQ(Refreshes(), 1);

    PressKey(hwnd(), 'Q');
    EXPECT_EQ(field.value, 0x00111251u);
    EXPECT_EQ(field.keyText, L"CTRL+ALT+Q");

    // Function keys, the keypad and arrows.
    PressKey(hwnd(), VK_F1);
    EXPECT_EQ(field.keyText, L"CTRL+ALT+F1");
    EXPECT_EQ(field.value, 0x00111270u);
    PressKey(hwnd(), VK_F12, {VK_SHIFT});
    EXPECT_EQ(field.keyText, L"SHIFT+F12");
    EXPECT_EQ(field.value, 0x1000007Bu);
    PressKey(hwnd(), VK_F5, {VK_SHIFT, VK_CONTROL});
    EXPECT_EQ(field.keyText, L"SHIFT+CTRL+F5");
    PressKey(hwnd(), VK_NUMPAD7, {VK_CONTROL});
    EXPECT_EQ(field.keyText, L"CTRL+NUM7");
    PressKey(hwnd(), VK_UP, {VK_MENU});
    EXPECT_EQ(field.keyText, L"ALT+UP");
    EXPECT_EQ(Refreshes(), 7);
}

TEST_F(ShortCutEditTest, UnnamedKeysChangeNothingAndEveryKeyDownIsConsumed) {
    PressKey(hwnd(), 'B', {VK_CONTROL, VK_MENU});
    main.Clear();
    for (WPARAM key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_SPACE, VK_TAB, VK_ESCAPE, VK_HOME,
                       VK_INSERT, VK_F13, VK_OEM_1}) {
        PressKey(hwnd(), key, {VK_CONTROL});
        EXPECT_EQ(field.value, 0x00111242u) << key;
    }
    EXPECT_EQ(Refreshes(), 0);

    for (WPARAM key : {WPARAM{VK_TAB}, WPARAM{VK_RETURN}, WPARAM{'C'}, WPARAM{VK_ESCAPE}}) {
        MSG msg{hwnd(), WM_KEYDOWN, key, 1, 0, {}};
        EXPECT_TRUE(field.PreTranslateMessage(&msg)) << key;
    }
    MSG up{hwnd(), WM_KEYUP, 'C', 1, 0, {}};
    EXPECT_FALSE(field.PreTranslateMessage(&up));
}

TEST_F(ShortCutEditTest, BackspaceClearsAndShiftCtrlAltIsRefused) {
    PressKey(hwnd(), '5', {VK_SHIFT, VK_CONTROL});
    EXPECT_EQ(field.keyText, L"SHIFT+CTRL+5");
    main.Clear();
    PressKey(hwnd(), VK_BACK, {VK_CONTROL});
    EXPECT_EQ(field.value, 0u);
    EXPECT_TRUE(field.keyText.empty());
    EXPECT_EQ(Refreshes(), 1);

    PressKey(hwnd(), 'Z');
    PressKey(hwnd(), 'X', {VK_SHIFT, VK_CONTROL, VK_MENU});
    EXPECT_EQ(field.value, 0u);
    EXPECT_TRUE(field.keyText.empty());
}

TEST_F(ShortCutEditTest, TabKeepsTheFocusAndEnterHandsItToTheParent) {
    Click();
    ASSERT_EQ(::GetFocus(), hwnd());
    EXPECT_TRUE(field.focused);
    PressKey(hwnd(), 'D');
    main.Clear();

    PressKey(hwnd(), VK_TAB);
    EXPECT_EQ(::GetFocus(), hwnd());
    EXPECT_TRUE(field.focused);
    EXPECT_EQ(field.value, 0x00111244u);
    EXPECT_EQ(Refreshes(), 0);

    PressKey(hwnd(), VK_RETURN);
    EXPECT_EQ(::GetFocus(), main.hwnd());
    EXPECT_FALSE(field.focused);
    EXPECT_EQ(field.value, 0x00111244u);
    EXPECT_EQ(Refreshes(), 1);
}

TEST_F(ShortCutEditTest, AltCharactersArriveAsSysCommandAndAreAlwaysSwallowed) {
    {
        shortcuttest::HeldKeys alt({VK_MENU});
        EXPECT_EQ(::SendMessageW(hwnd(), WM_SYSCOMMAND, SC_KEYMENU, 'a'), 1);
    }
    EXPECT_EQ(field.value, 0x00001241u);
    EXPECT_EQ(field.keyText, L"ALT+A");
    EXPECT_EQ(Refreshes(), 1);

    // Without Alt down, for unnamed characters and for any other system command: nothing.
    EXPECT_EQ(::SendMessageW(hwnd(), WM_SYSCOMMAND, SC_KEYMENU, 'b'), 1);
    {
        shortcuttest::HeldKeys alt({VK_MENU});
        EXPECT_EQ(::SendMessageW(hwnd(), WM_SYSCOMMAND, SC_KEYMENU, ' '), 1);
        EXPECT_EQ(::SendMessageW(hwnd(), WM_SYSCOMMAND, SC_KEYMENU, '%'), 1);
        EXPECT_EQ(::SendMessageW(hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0), 1);
    }
    EXPECT_EQ(field.value, 0x00001241u);
    EXPECT_EQ(Refreshes(), 1);
    EXPECT_TRUE(::IsWindow(hwnd()));

    // The system's own route: a character typed with Alt reaches the field as WM_SYSCHAR, whose
    // default handling sends the WM_SYSCOMMAND.
    {
        shortcuttest::HeldKeys alt({VK_MENU});
        ::PostMessageW(hwnd(), WM_SYSCHAR, '7', 1 | (1 << 29));
        testkit::RunMessageLoop();
    }
    EXPECT_EQ(field.keyText, L"ALT+7");
}

TEST_F(ShortCutEditTest, FocusedFieldShowsTheDarkFieldKeyBoxAndPromptAndLosingFocusErasesThem) {
    Click();
    EXPECT_EQ(Refreshes(), 1);
    EXPECT_EQ(surface.Pixel(kField.left, kField.bottom - 1), kFocusedField);
    EXPECT_EQ(surface.Pixel(kField.right - 1, kField.top), kFocusedField);
    EXPECT_EQ(surface.Pixel(573, kField.top + 2), kKeyBox);
    EXPECT_EQ(surface.Pixel(671, kField.bottom - 3), kKeyBox);
    EXPECT_EQ(surface.Pixel(573, kField.top + 1), kFocusedField);
    EXPECT_EQ(surface.Pixel(572, kField.top + 2), kFocusedField);
    EXPECT_EQ(surface.Pixel(672, kField.top + 2), kFocusedField);
    EXPECT_EQ(surface.Pixel(573, kField.bottom - 2), kFocusedField);
    EXPECT_EQ(surface.Pixel(kField.left - 1, kField.top), 0u);
    EXPECT_EQ(InkInKeyBox(), 0);
    // The prompt is white text right of the key box; the label is left of it.
    auto whiteIn = [this](int left, int right) {
        int white = 0;
        for (int y = kField.top; y < kField.bottom; ++y) {
            for (int x = left; x < right; ++x) {
                white += (surface.Pixel(x, y) & 0xFFFFFF) > 0xC0C0C0;
            }
        }
        return white;
    };
    EXPECT_GT(whiteIn(674, kField.right), 20);
    EXPECT_GT(whiteIn(kField.left, 573), 20);

    PressKey(hwnd(), 'A', {VK_CONTROL, VK_MENU});
    EXPECT_GT(InkInKeyBox(), 20);

    ::SetFocus(main.hwnd());
    EXPECT_FALSE(field.focused);
    EXPECT_EQ(Refreshes(), 3);
    EXPECT_EQ(surface.Pixel(573, kField.top + 2), kBackground);
    EXPECT_EQ(surface.Pixel(kField.right - 1, kField.top), kBackground);
    EXPECT_EQ(whiteIn(674, kField.right), 0);  // no prompt
    EXPECT_GT(whiteIn(575, 672), 20);          // the key text stays
}

TEST_F(ShortCutEditTest, AHiddenFieldTakesItsValueWithoutDrawingOrPresenting) {
    ::ShowWindow(hwnd(), SW_HIDE);
    field.SetHotKey(0x00111270);
    EXPECT_EQ(field.keyText, L"CTRL+ALT+F1");
    EXPECT_EQ(Refreshes(), 0);
    EXPECT_EQ(surface.Pixel(600, 120), 0u);

    field.SetHotKey(0x10111270);
    EXPECT_EQ(field.value, 0u);
    EXPECT_TRUE(field.keyText.empty());

    EXPECT_TRUE(field.Show(SW_SHOW));
    EXPECT_TRUE(::IsWindowVisible(hwnd()));
    field.SetHotKey(0x00001241);
    EXPECT_EQ(Refreshes(), 1);
    EXPECT_EQ(surface.Pixel(kField.left, kField.bottom - 1), kBackground);
}

TEST_F(ShortCutEditTest, BecomesAnOwnerDrawNotifyingStaticThatWantsEveryKey) {
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd(), GWL_STYLE);
    EXPECT_EQ(style & SS_TYPEMASK, SS_OWNERDRAW);
    EXPECT_NE(style & SS_NOTIFY, 0);
    const LRESULT code = ::SendMessageW(hwnd(), WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(code & (DLGC_WANTALLKEYS | DLGC_WANTCHARS), DLGC_WANTALLKEYS | DLGC_WANTCHARS);
}

}  // namespace
