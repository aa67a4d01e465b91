// "保留这些显示设置？": the question after a display-mode change. A small layered window (its
// template says so) drawn whole into its own surface with per-pixel alpha (its two buttons are
// window-less), run in its own loop while its owner waits. Only its keep button keeps the mode;
// Esc, its other button, closing it or the end of the countdown do not. It never takes the
// activation from its owner: Esc reaches it from any window of the thread, and it hides at once
// when answered (an activated window takes two seconds to hide under Wine without a window
// manager).
#pragma once

#include "display/core/KeepModeLayout.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "skin/GdiplusFwd.h"
#include "skin/SkinSurface.h"

class CKeepModeDlg : public fw::CDialog {
  public:
    static constexpr wchar_t kWindowClass[] = L"VelmoraKeepMode";
    static constexpr UINT_PTR kTimerCountdown = 1;
    static constexpr UINT kTickMs = 200;

    // The owner is disabled while the question runs; without an answer within durationMs the
    // answer is no.
    explicit CKeepModeDlg(HWND owner, unsigned durationMs = display::kKeepSeconds * 1000u);

    // Asks and waits for the answer: true only when the user chose to keep the mode in time.
    // A question that cannot be shown answers no.
    bool AskToKeep();

    // Esc posted to the question answers no, as Esc typed into any window of the thread does
    // (through the thread's keyboard hook); each of its messages checks the time.
    BOOL PreTranslateMessage(MSG* msg) override;

    // The seconds the countdown shows now (-1 before the first drawing).
    int secondsShown() const { return secondsShown_; }

  protected:
    void PreSubclassWindow() override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Enter answers nothing: a key pressed by chance must not keep a mode the user cannot see.
    void OnOK() override {}
    bool OnTimer(UINT_PTR id) override;
    bool OnMouseMove(UINT keys, POINT point) override;
    bool OnMouseLeave() override;
    bool OnLButtonDown(UINT keys, POINT point) override;
    bool OnLButtonUp(UINT keys, POINT point) override;
    bool OnCaptureChanged(HWND gaining) override;
    bool OnPaint() override;
    bool OnEraseBkgnd(HDC dc) override;
    void PostNcDestroy() override;

  private:
    using KeyboardHook = fw::UniqueHandle<fw::NullHandleTraits<HHOOK, &::UnhookWindowsHookEx>>;

    struct Faces {
        Gdiplus::Image* normal;
        Gdiplus::Image* hover;
        Gdiplus::Image* pressed;
    };

    // Ends the question with no once the time is over; true when it did.
    bool EndWhenTimeIsUp();
    void SetHover(display::KeepButton button);
    // The whole picture into the surface, then onto the screen.
    void Draw();
    void DrawButton(Gdiplus::Graphics& graphics, display::KeepButton button) const;

    unsigned durationMs_;
    ULONGLONG startedAt_ = 0;
    int secondsShown_ = -1;
    display::KeepButton hover_ = display::KeepButton::None;
    display::KeepButton pressed_ = display::KeepButton::None;
    bool tracking_ = false;
    Gdiplus::Image* background_;
    Faces keepFaces_;
    Faces revertFaces_;
    SkinSurface surface_;
    // Esc pressed anywhere in the thread while the question runs: the question never takes the
    // keyboard focus (that would activate it), so the keys go to its owner.
    KeyboardHook escapeHook_;
};
