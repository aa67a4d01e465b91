// The field in which the user sets one global hotkey by pressing it: a click gives it the
// keyboard focus, the next key press (with the modifiers held at that moment) becomes its hotkey
// value, and it shows that value as text in a key box. It paints into the main window's surface.
#pragma once

#include <string>

#include "framework/Wnd.h"
#include "shortcuts/core/HotKeyValue.h"
#include "skin/GdiplusFwd.h"
#include "skin/SkinControl.h"

class SkinSurface;

class CShortCutEdit : public skin::SkinControl<fw::CStatic> {
  public:
    // The key box's left and right edges, in the main window's client coordinates, wherever the
    // field lies.
    static constexpr int kKeyBoxLeft = 574;
    static constexpr int kKeyBoxRight = 671;

    CShortCutEdit();

    // Takes the value (a refused combination becomes 0), shows its text and, while the field is
    // on screen, paints it and asks the main window to present.
    void SetHotKey(shortcuts::HotKeyValue newValue);
    // The page's background (erases the field when it loses the focus) and the shared surface.
    void AttachSurface(Gdiplus::Image* pageBackground, SkinSurface* target);
    // ShowWindow; the page hides and shows fields only through this.
    virtual BOOL Show(int showCmd);
    // Paints the field into the surface; nothing while it is not visible.
    void DrawField();

    BOOL PreTranslateMessage(MSG* msg) override;

    bool focused = false;
    std::wstring label;
    std::wstring prompt;
    SkinSurface* surface = nullptr;
    Gdiplus::Image* background = nullptr;
    std::wstring keyText;
    shortcuts::HotKeyValue value = 0;

  protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnLButtonDown(UINT keys, POINT point) override;

  private:
    // Paints, then presents once: every change of value or focus ends here.
    void ShowChange();
    void OnKeyDown(WPARAM key);
    void OnAltCharacter(LPARAM character);
};
