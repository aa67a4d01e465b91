// Shared pieces of the toolkit's Windows tests: in-memory images of known colours and mouse
// messages (the host window and the message pump are the kit's, tests/support).
#pragma once

#include <windows.h>

#include <memory>

#include "skin/SkinPaint.h"

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

// Sends a mouse message with a client point.
LRESULT SendMouse(HWND hwnd, UINT msg, int x, int y, WPARAM keys = 0);

}  // namespace skintest
