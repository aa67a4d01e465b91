// Shared pieces of the toolkit's Windows tests: a recording host window, in-memory images of
// known colours and a message pump.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Wnd.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"

namespace skintest {

// Opaque ARGB colour as the surface stores it (BGRA, alpha in the top byte).
constexpr DWORD Opaque(DWORD rgb) {
    return 0xFF000000u | rgb;
}

// A bitmap of one colour, opaque or of any alpha.
std::unique_ptr<Gdiplus::Bitmap> SolidImage(int width, int height, DWORD rgb);
std::unique_ptr<Gdiplus::Bitmap> ArgbImage(int width, int height, DWORD argb);
// The slider's digit strip: digit d occupies columns 7d+1 .. 7d+7 in the colour DigitColour(d).
std::unique_ptr<Gdiplus::Bitmap> DigitStrip();
constexpr DWORD DigitColour(int digit) {
    return 0x203040u + static_cast<DWORD>(digit) * 0x10u;
}

// Processes every message waiting for this thread.
void PumpMessages();

struct Received {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A layered top-level popup at a fixed screen place whose client coordinates equal its window
// coordinates; it records the toolkit's messages and every WM_COMMAND.
class TestHost : public fw::CWnd {
  public:
    TestHost(int width = SkinSurface::kWidth, int height = SkinSurface::kHeight);
    ~TestHost() override;

    HWND hwnd() const { return GetSafeHwnd(); }
    // A child control of a system class at client coordinates.
    HWND AddChild(const wchar_t* className, DWORD style, int x, int y, int width, int height,
                  int id);
    int Count(UINT msg) const;
    std::vector<Received> Of(UINT msg) const;
    void Clear() { received.clear(); }

    std::vector<Received> received;
    LRESULT refreshAnswer = 1;

  protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// Sends a mouse message with a client point.
LRESULT SendMouse(HWND hwnd, UINT msg, int x, int y, WPARAM keys = 0);

}  // namespace skintest
