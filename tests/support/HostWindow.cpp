#include "tests/support/HostWindow.h"

#include <gtest/gtest.h>

#include "skin/AppMessages.h"

namespace testkit {

namespace {

constexpr wchar_t kHostClass[] = L"VelmoraTestHost";

}  // namespace

HostWindow::HostWindow(const RECT& place, DWORD exStyle) {
    static const ATOM registered = fw::CWnd::RegisterWindowClass(kHostClass, 0, nullptr);
    (void)registered;
    if (!CreateEx(exStyle, kHostClass, L"test host", WS_POPUP | WS_VISIBLE, place, nullptr)) {
        ADD_FAILURE() << "no test host window";
    }
}

HostWindow::~HostWindow() {
    if (HWND hwnd = GetSafeHwnd()) {
        ::DestroyWindow(hwnd);
    }
}

HWND HostWindow::AddChild(const wchar_t* className, DWORD style, int x, int y, int width,
                          int height, int id) {
    return ::CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                             GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

int HostWindow::Count(UINT msg) const {
    return static_cast<int>(Of(msg).size());
}

std::vector<Received> HostWindow::Of(UINT msg) const {
    std::vector<Received> found;
    for (const Received& r : received) {
        if (r.msg == msg) {
            found.push_back(r);
        }
    }
    return found;
}

LRESULT HostWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_APP_NAVIGATE:
        case WM_APP_SELECT_ITEM:
        case WM_APP_SLIDER_CHANGED:
            received.push_back({msg, wParam, lParam});
            return 0;
        case WM_APP_REFRESH_LAYER:
            received.push_back({msg, wParam, lParam});
            return refreshAnswer;
        case WM_APP_HOTKEYS_CHANGED:
        case WM_APP_SHOW_STATE:
            received.push_back({msg, wParam, lParam});
            return 1;
        case WM_COMMAND:
            received.push_back({msg, wParam, lParam});
            break;
        default:
            break;
    }
    return fw::CWnd::WindowProc(msg, wParam, lParam);
}

}  // namespace testkit
