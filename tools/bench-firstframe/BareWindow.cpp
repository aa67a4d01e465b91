// The baseline for start-up: registers a class, creates one 800 x 328 layered window, presents
// one all-zero surface and runs until the window is closed.
#include "framework/Handles.h"
#include "framework/Wnd.h"

namespace {

constexpr wchar_t kClassName[] = L"VELMORA_BARE_WINDOW";

class BareWindow : public fw::CWnd {
  protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_DESTROY) {
            ::PostQuitMessage(0);
        }
        return fw::CWnd::WindowProc(msg, wParam, lParam);
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    fw::CWnd::RegisterWindowClass(kClassName, 0, nullptr);
    BareWindow window;
    if (!window.CreateEx(WS_EX_LAYERED, kClassName, L"Bare", WS_POPUP, RECT{0, 0, 800, 328},
                         nullptr)) {
        return 1;
    }
    HWND hwnd = window.GetSafeHwnd();
    fw::WindowDc screen(hwnd);
    fw::DibSection bits(screen.get(), 800, 328);
    fw::MemoryDc dc(::CreateCompatibleDC(screen.get()));
    fw::ScopedSelect select(dc.get(), bits.get());
    POINT position{0, 0};
    SIZE size{800, 328};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(hwnd, screen.get(), &position, &size, dc.get(), &source, 0, &blend,
                          ULW_ALPHA);
    ::ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
