// Base of the pages that live as child dialogs of the main window. A page draws its background
// and controls into the main window's surface and asks the main window to present it.
#pragma once

#include "framework/Dialog.h"
#include "skin/GdiplusFwd.h"

class SkinSurface;

class CSkinSubDialog : public fw::CDialog {
  public:
    explicit CSkinSubDialog(UINT templateId, HWND parent = nullptr);

    // The page operations the main window calls, in this order.
    // Draws background and controls when visible, then presents; 0 when hidden.
    virtual int RedrawPage();
    // Pages draw their own texts and controls here.
    virtual void DrawControls();
    // Stores the shared surface and the page background.
    virtual void AttachSkin(SkinSurface* surface, Gdiplus::Image* background);
    // ShowWindow, then RedrawPage.
    virtual BOOL ShowPage(int showCmd);
    // An entry of the item list was chosen.
    virtual void SelectItem(int index);
    // The main window's OK, default and apply buttons.
    virtual void OnConfirm();
    virtual void OnRestoreDefault();
    virtual void OnApplyPage();

    SkinSurface* surface = nullptr;
    Gdiplus::Image* background = nullptr;

  protected:
    // Asks the main window to hide (pages' OK ends so).
    void AskToHide();
    // OnApplyPage, then AskToHide: the OK of a page whose OK is its Apply.
    void ApplyAndHide();

    BOOL OnInitDialog() override;
    bool OnEraseBkgnd(HDC dc) override;
};
