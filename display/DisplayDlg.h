// The display-modes page: resolution, colour quality, refresh rate and rotation of the primary
// display. One category shows at a time as a short list painted into the shared surface; a
// click picks an entry and Apply or OK sets the shown category's choice.
#pragma once

#include <array>

#include "display/ModeSwitch.h"
#include "display/ScreenMode.h"
#include "res/resource.h"
#include "skin/BmButton.h"
#include "skin/GdiplusFwd.h"
#include "skin/SkinSubDialog.h"

class CDisplayDlg : public CSkinSubDialog {
  public:
    CDisplayDlg() : CSkinSubDialog(IDD_DISPLAY) {}

    void DrawControls() override;
    void AttachSkin(SkinSurface* surface, Gdiplus::Image* background) override;
    BOOL ShowPage(int showCmd) override;
    // The item list's entry is the category; other values change nothing.
    void SelectItem(int index) override;
    void OnConfirm() override;
    void OnApplyPage() override;

    int category() const { return category_; }
    // The selected index of a category (0 outside the four).
    int selected(int category) const;

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnLButtonDown(UINT keys, POINT point) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    // Shows the resolution page (0 or 1) on the paging buttons and moves the selection there.
    void TurnResolutionPage(int page);
    void MarkResolutionPage(int page);
    void ShowPagingButtons(bool shown);
    void DrawCategoryPicture(Gdiplus::Graphics& graphics, int left, int top);
    void DrawList(Gdiplus::Graphics& graphics, int left, int top);
    // Copies the four choices into the settings record.
    void StoreChoices() const;
    // Sets the category's choice on the display: asked first, then kept or put back.
    display::ModeOutcome ApplyCategory(int category, int index);
    // The choice of a category goes back to the one Apply found stored.
    void RestoreChoice(int category, int stored);

    int category_ = 0;
    std::array<int, 4> selected_{};
    Gdiplus::Image* dimPicture_ = nullptr;
    Gdiplus::Image* litPicture_ = nullptr;
    CBmButton left_;
    CBmButton right_;
    display::DisplaySettingsApi displaySettings_;
    display::ModeSwitch modeSwitch_{displaySettings_};
};
