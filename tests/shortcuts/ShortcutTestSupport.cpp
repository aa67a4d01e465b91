#include "tests/shortcuts/ShortcutTestSupport.h"

#include <gtest/gtest.h>

#include "framework/GdiplusSession.h"
#include "skin/AppMessages.h"

namespace shortcuttest {
namespace {

constexpr wchar_t kClass[] = L"VelmoraShortcutTestMain";

}  // namespace

MainWindowStandIn::MainWindowStandIn() {
    static const ATOM registered = fw::CWnd::RegisterWindowClass(kClass, 0, nullptr);
    (void)registered;
    const RECT rect{40, 40, 40 + 800, 40 + 328};
    if (!CreateEx(WS_EX_LAYERED, kClass, L"shortcut test main", WS_POPUP | WS_VISIBLE, rect,
                  nullptr)) {
        ADD_FAILURE() << "no stand-in main window";
    }
}

MainWindowStandIn::~MainWindowStandIn() {
    if (HWND hwnd = GetSafeHwnd()) {
        ::DestroyWindow(hwnd);
    }
}

int MainWindowStandIn::Count(UINT msg) const {
    return static_cast<int>(Of(msg).size());
}

std::vector<MSG> MainWindowStandIn::Of(UINT msg) const {
    std::vector<MSG> found;
    for (const MSG& m : received_) {
        if (m.message == msg) {
            found.push_back(m);
        }
    }
    return found;
}

LRESULT MainWindowStandIn::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_APP_REFRESH_LAYER:
        case WM_APP_HOTKEYS_CHANGED:
        case WM_APP_SHOW_STATE:
            received_.push_back(MSG{GetSafeHwnd(), msg, wParam, lParam, 0, {}});
            return 1;
        default:
            return fw::CWnd::WindowProc(msg, wParam, lParam);
    }
}

void RunMessageLoop() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        bool taken = false;
        for (HWND h = msg.hwnd; h != nullptr && !taken; h = ::GetParent(h)) {
            fw::CWnd* target = fw::CWnd::FromHandle(h);
            taken = target != nullptr && target->PreTranslateMessage(&msg) != FALSE;
        }
        if (!taken) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
    ::GetKeyboardState(saved_);
    BYTE state[256] = {};
    for (int key : keys) {
        state[key & 0xFF] = 0x80;
    }
    ::SetKeyboardState(state);
}

HeldKeys::~HeldKeys() {
    ::SetKeyboardState(saved_);
}

void PressKey(HWND target, WPARAM key, std::initializer_list<int> held) {
    HeldKeys keys(held);
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    RunMessageLoop();
}

}  // namespace shortcuttest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    fw::GdiplusSession gdiplus;
    return RUN_ALL_TESTS();
}
