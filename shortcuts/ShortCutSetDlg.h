// The shortcut page: seventeen hotkey fields in three groups (display quality, 3D, overclocking),
// the overclocking group paged by three small buttons (GPU core, memory, fan). OK and Apply store
// the fields in the settings file's "HotKey" section and ask the main window to register them.
#pragma once

#include <array>

#include "res/resource.h"
#include "shortcuts/ShortCutEdit.h"
#include "shortcuts/core/HotkeyTable.h"
#include "skin/BmButton.h"
#include "skin/SkinSubDialog.h"

class CShortCutSetDlg : public CSkinSubDialog {
  public:
    CShortCutSetDlg();

    void DrawControls() override;
    void AttachSkin(SkinSurface* newSurface, Gdiplus::Image* newBackground) override;
    // Shows group 0 (display quality), 1 (3D) or 2 (overclocking); any other shows no field.
    void SelectItem(int index) override;
    void OnConfirm() override;
    void OnApplyPage() override;

    int currentGroup() const { return group_; }
    int currentSubPage() const { return subPage_; }
    // The field of a hotkey table row.
    CShortCutEdit& field(size_t row) { return fields_[row]; }
    CBmButton& pagingButton(int subPage) { return pagingButtons_[static_cast<size_t>(subPage)]; }

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

  private:
    void LayOut();
    void SetUpPagingButtons();
    // Hides every field, then shows those of the current group (and sub-page).
    void ApplyGroupVisibility();
    void ShowGroup();
    void ChooseSubPage(int subPage);
    // The fields into the settings record, the "HotKey" section written, the main window told.
    void Save();

    int group_ = 0;
    // In the order of the hotkey table's rows.
    std::array<CShortCutEdit, hotkeys::kCount> fields_;
    std::array<CBmButton, shortcuts::kOverclockSubPageCount> pagingButtons_;
    int subPage_ = 0;
};
