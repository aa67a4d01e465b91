#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include "framework/GdiplusSession.h"
#include "skin/AppMessages.h"

namespace skintest {
namespace {

constexpr wchar_t kHostClass[] = L"VelmoraSkinTestHost";

}  // namespace

std::unique_ptr<Gdiplus::Bitmap> ArgbImage(int width, int height, DWORD argb) {
    auto image = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(image.get());
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    Gdiplus::SolidBrush brush{Gdiplus::Color{argb}};
    graphics.FillRectangle(&brush, 0, 0, width, height);
    return image;
}

std::unique_ptr<Gdiplus::Bitmap> SolidImage(int width, int height, DWORD rgb) {
    return ArgbImage(width, height, Opaque(rgb));
}

std::unique_ptr<Gdiplus::Bitmap> DigitStrip() {
    auto image = SolidImage(72, 15, 0x000000);
    for (int d = 0; d < 10; ++d) {
        for (int x = 7 * d + 1; x < 7 * d + 8 && x < 72; ++x) {
            for (int y = 0; y < 15; ++y) {
                image->SetPixel(x, y, Gdiplus::Color{Opaque(DigitColour(d))});
            }
        }
    }
    return image;
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

TestHost::TestHost(int width, int height) {
    static const ATOM registered = fw::CWnd::RegisterWindowClass(kHostClass, 0, nullptr);
    (void)registered;
    const RECT rect{40, 40, 40 + width, 40 + height};
    if (!CreateEx(WS_EX_LAYERED, kHostClass, L"skin test host", WS_POPUP | WS_VISIBLE, rect,
                  nullptr)) {
        ADD_FAILURE() << "no test host window";
    }
}

TestHost::~TestHost() {
    if (HWND hwnd = GetSafeHwnd()) {
        ::DestroyWindow(hwnd);
    }
}

HWND TestHost::AddChild(const wchar_t* className, DWORD style, int x, int y, int width, int height,
                        int id) {
    return ::CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                             GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

int TestHost::Count(UINT msg) const {
    return static_cast<int>(Of(msg).size());
}

std::vector<Received> TestHost::Of(UINT msg) const {
    std::vector<Received> found;
    for (const auto& r : received) {
        if (r.msg == msg) {
            found.push_back(r);
        }
    }
    return found;
}

LRESULT TestHost::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_APP_NAVIGATE:
        case WM_APP_SELECT_ITEM:
        case WM_APP_SLIDER_CHANGED:
            received.push_back({msg, wParam, lParam});
            return 0;
        case WM_APP_REFRESH_LAYER:
            received.push_back({msg, wParam, lParam});
            return refreshAnswer;
        case WM_COMMAND:
            received.push_back({msg, wParam, lParam});
            break;
        default:
            break;
    }
    return fw::CWnd::WindowProc(msg, wParam, lParam);
}

LRESULT SendMouse(HWND hwnd, UINT msg, int x, int y, WPARAM keys) {
    return ::SendMessageW(hwnd, msg, keys, MAKELPARAM(x, y));
}

}  // namespace skintest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    fw::GdiplusSession gdiplus;
    return RUN_ALL_TESTS();
}
