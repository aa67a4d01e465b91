#include "shortcuts/ShortCutSetDlg.h"

#include <iterator>

#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"
#include "skin/SkinWindow.h"

namespace {

using shortcuts::kHotkeyRows;

// Page client coordinates: every field spans x 4..264 and is 18 high; rows 1-4 share these tops.
constexpr int kFieldLeft = 4;
constexpr int kFieldWidth = 260;
constexpr int kFieldHeight = 18;
constexpr int kRowTops[shortcuts::kHotkeyRowsPerGroup] = {23, 48, 73, 98};
// The paging buttons of the overclocking group, one per sub-page: control id and left edge.
struct PagingButtonPlace {
    int id;
    int left;
};
constexpr PagingButtonPlace kPagingButtons[shortcuts::kOverclockSubPageCount] = {
    {IDC_SHORTCUT_PAGE1, 130}, {IDC_SHORTCUT_PAGE2, 160}, {IDC_SHORTCUT_PAGE3, 190}};
constexpr int kPagingButtonTop = 130;
constexpr int kPagingButtonSize = 10;
constexpr int kOverclockGroup = static_cast<int>(shortcuts::HotkeyGroup::Overclock);

}  // namespace

CShortCutSetDlg::CShortCutSetDlg() : CSkinSubDialog(IDD_SHORTCUT) {
    for (size_t i = 0; i < fields_.size(); ++i) {
        fields_[i].label = kHotkeyRows[i].label;
        fields_[i].prompt = shortcuts::kHotkeyPrompt;
    }
}

void CShortCutSetDlg::DoDataExchange() {
    for (size_t i = 0; i < fields_.size(); ++i) {
        static_cast<void>(BindControl(kHotkeyRows[i].controlId, fields_[i]));
    }
    static_assert(std::size(kPagingButtons) == std::tuple_size_v<decltype(pagingButtons_)>);
    for (size_t n = 0; n < std::size(kPagingButtons); ++n) {
        static_cast<void>(BindControl(kPagingButtons[n].id, pagingButtons_[n]));
    }
}

BOOL CShortCutSetDlg::OnInitDialog() {
    CSkinSubDialog::OnInitDialog();
    LayOut();
    SetUpPagingButtons();
    for (size_t i = 0; i < fields_.size(); ++i) {
        const std::int32_t stored =
            g_runSettings.Hotkeys.Keys[hotkeys::SettingsSlot(hotkeys::kTable[i])];
        fields_[i].SetHotKey(shortcuts::BoundHotKey(stored));
    }
    // The template shows every field; only the current group's may take clicks and the focus.
    ApplyGroupVisibility();
    return TRUE;
}

void CShortCutSetDlg::LayOut() {
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (HWND hwnd = fields_[i].GetSafeHwnd()) {
            ::MoveWindow(hwnd, kFieldLeft, kRowTops[kHotkeyRows[i].place.row - 1], kFieldWidth,
                         kFieldHeight, FALSE);
        }
    }
}

void CShortCutSetDlg::SetUpPagingButtons() {
    for (size_t n = 0; n < std::size(kPagingButtons); ++n) {
        CBmButton& button = pagingButtons_[n];
        HWND hwnd = button.GetSafeHwnd();
        if (hwnd != nullptr) {
            ::MoveWindow(hwnd, kPagingButtons[n].left, kPagingButtonTop, kPagingButtonSize,
                         kPagingButtonSize, FALSE);
        }
        button.normalImage = FindSkinImage(L"POINT_N");
        button.hoverImage = FindSkinImage(L"POINT_M");
        button.pressedImage = FindSkinImage(L"POINT_M");
        button.toggledImage = FindSkinImage(L"POINT_SEL");
    }
    ChooseSubPage(subPage_);
}

void CShortCutSetDlg::ChooseSubPage(int subPage) {
    subPage_ = subPage;
    for (size_t n = 0; n < pagingButtons_.size(); ++n) {
        CBmButton& button = pagingButtons_[n];
        button.toggled = static_cast<int>(n) == subPage;
        ::InvalidateRect(button.GetSafeHwnd(), nullptr, TRUE);
        button.Redraw();
    }
}

void CShortCutSetDlg::AttachSkin(SkinSurface* newSurface, Gdiplus::Image* newBackground) {
    CSkinSubDialog::AttachSkin(newSurface, newBackground);
    for (CBmButton& button : pagingButtons_) {
        button.AttachSurface(newSurface);
        button.Redraw();
    }
    for (CShortCutEdit& field : fields_) {
        field.AttachSurface(newBackground, newSurface);
    }
}

void CShortCutSetDlg::DrawControls() {
    if (group_ == kOverclockGroup) {
        for (CBmButton& button : pagingButtons_) {
            button.Redraw();
        }
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (shortcuts::ShownIn(kHotkeyRows[i], group_, subPage_)) {
            fields_[i].DrawField();
        }
    }
}

void CShortCutSetDlg::ApplyGroupVisibility() {
    for (CShortCutEdit& field : fields_) {
        field.Show(SW_HIDE);
    }
    for (CBmButton& button : pagingButtons_) {
        button.shown = group_ == kOverclockGroup;
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (shortcuts::ShownIn(kHotkeyRows[i], group_, subPage_)) {
            fields_[i].Show(SW_SHOW);
        }
    }
}

void CShortCutSetDlg::ShowGroup() {
    ApplyGroupVisibility();
    RedrawPage();
}

void CShortCutSetDlg::SelectItem(int index) {
    group_ = index;
    ShowGroup();
}

bool CShortCutSetDlg::OnCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED) {
        for (int n = 0; n < shortcuts::kOverclockSubPageCount; ++n) {
            if (id == kPagingButtons[n].id) {
                ChooseSubPage(n);
                SelectItem(kOverclockGroup);
                return true;
            }
        }
    }
    return CSkinSubDialog::OnCommand(id, code, control);
}

void CShortCutSetDlg::Save() {
    for (size_t i = 0; i < fields_.size(); ++i) {
        const size_t slot = hotkeys::SettingsSlot(hotkeys::kTable[i]);
        g_runSettings.Hotkeys.Keys[slot] = static_cast<std::int32_t>(fields_[i].value);
    }
    SaveHotkeys();
    ::PostMessageW(skin::ApplicationMainWindow(GetSafeHwnd()), WM_APP_HOTKEYS_CHANGED, 0, 0);
}

void CShortCutSetDlg::OnApplyPage() {
    Save();
}

void CShortCutSetDlg::OnConfirm() {
    Save();
    AskToHide();
}
