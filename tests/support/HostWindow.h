// A stand-in for the main window that pages and skinned controls are created in.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Wnd.h"
#include "skin/SkinSurface.h"

namespace testkit {

// A message the stand-in received.
struct Received {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A visible top-level popup whose client coordinates equal its window coordinates. It records
// what pages and controls send their main window (navigation, item choice, presentation
// requests, hotkey changes, show states, slider changes) and every WM_COMMAND, answers a
// presentation request with `refreshAnswer` and the show state and hotkey requests with 1.
class HostWindow : public fw::CWnd {
  public:
    // Layered at a fixed screen place: never drawn on screen, so Wine neither maps it nor waits
    // for it.
    static constexpr RECT kPlace{40, 40, 40 + SkinSurface::kWidth, 40 + SkinSurface::kHeight};

    explicit HostWindow(const RECT& place = kPlace, DWORD exStyle = WS_EX_LAYERED);
    ~HostWindow() override;

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

}  // namespace testkit
