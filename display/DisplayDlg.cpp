#include "display/DisplayDlg.h"

#include "display/KeepModeDlg.h"
#include "display/core/DisplayModes.h"
#include "gpu/DriverBinding.h"
#include "settings/RunConfig.h"
#include "skin/SkinCanvas.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"

namespace {

constexpr Gdiplus::REAL kFontPx = 13.0f;
constexpr Gdiplus::ARGB kTextColour = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kSelectionColour = 0xFF7F0512;
// Page coordinates.
constexpr POINT kPictureAt{140, 10};
constexpr int kBarLeft = 35;
constexpr int kBarTop = 28;
constexpr int kBarWidth = 96;
constexpr int kTextTop = 30;
constexpr RECT kLeftButton{58, 157, 68, 167};
constexpr RECT kRightButton{98, 157, 108, 167};
constexpr wchar_t kMessageCaption[] = L"Velmora";
constexpr wchar_t kUnsupportedMessage[] = L"此显示模式不受支持";

int& Stored(DisplaySettings& settings, int category) {
    switch (category) {
        case display::kResolution:
            return settings.Desktoparea;
        case display::kColourQuality:
            return settings.ColorQuality;
        case display::kRefreshRate:
            return settings.RefreshRate;
        default:
            return settings.Rotation;
    }
}

void SetPagingFaces(CBmButton& button, const RECT& place) {
    button.normalImage = FindSkinImage(L"POINT_N");
    button.hoverImage = FindSkinImage(L"POINT_M");
    button.pressedImage = FindSkinImage(L"POINT_M");
    button.toggledImage = FindSkinImage(L"POINT_SEL");
    button.shown = false;
    if (HWND hwnd = button.GetSafeHwnd()) {
        ::MoveWindow(hwnd, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, FALSE);
    }
}

void SetToggled(CBmButton& button, bool toggled) {
    button.toggled = toggled;
    if (HWND hwnd = button.GetSafeHwnd()) {
        ::InvalidateRect(hwnd, nullptr, FALSE);
    }
    button.Redraw();
}

}  // namespace

int CDisplayDlg::selected(int category) const {
    return category >= 0 && category < display::kCategoryCount
               ? selected_[static_cast<size_t>(category)]
               : 0;
}

void CDisplayDlg::DoDataExchange() {
    static_cast<void>(BindControl(IDC_DISPLAY_LEFT, left_));
    static_cast<void>(BindControl(IDC_DISPLAY_RIGHT, right_));
}

BOOL CDisplayDlg::OnInitDialog() {
    CSkinSubDialog::OnInitDialog();
    dimPicture_ = FindSkinImage(L"3D_BK_RES1");
    litPicture_ = FindSkinImage(L"3D_BK_RES2");
    for (int category = 0; category < display::kCategoryCount; ++category) {
        selected_[static_cast<size_t>(category)] =
            display::LoadedIndex(category, Stored(g_runSettings.Display, category));
    }
    SetPagingFaces(left_, kLeftButton);
    SetPagingFaces(right_, kRightButton);
    MarkResolutionPage(display::ResolutionPage(selected_[display::kResolution]));
    return TRUE;
}

void CDisplayDlg::AttachSkin(SkinSurface* newSurface, Gdiplus::Image* newBackground) {
    CSkinSubDialog::AttachSkin(newSurface, newBackground);
    left_.AttachSurface(newSurface);
    right_.AttachSurface(newSurface);
    left_.Redraw();
    right_.Redraw();
}

void CDisplayDlg::ShowPagingButtons(bool shown) {
    left_.shown = shown;
    right_.shown = shown;
}

BOOL CDisplayDlg::ShowPage(int showCmd) {
    ShowPagingButtons(category_ == display::kResolution);
    ::ShowWindow(GetSafeHwnd(), showCmd);
    RedrawPage();
    return TRUE;
}

void CDisplayDlg::SelectItem(int index) {
    if (index < 0 || index >= display::kCategoryCount) {
        return;
    }
    category_ = index;
    ShowPagingButtons(category_ == display::kResolution && ::IsWindowVisible(GetSafeHwnd()));
    RedrawPage();
}

void CDisplayDlg::MarkResolutionPage(int page) {
    SetToggled(left_, page == 0);
    SetToggled(right_, page != 0);
}

void CDisplayDlg::TurnResolutionPage(int page) {
    MarkResolutionPage(page);
    int& resolution = selected_[display::kResolution];
    resolution = display::IndexOnPage(resolution, page);
    RedrawPage();
}

bool CDisplayDlg::OnCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED && control != nullptr) {
        if (id == IDC_DISPLAY_LEFT) {
            TurnResolutionPage(0);
            return true;
        }
        if (id == IDC_DISPLAY_RIGHT) {
            TurnResolutionPage(1);
            return true;
        }
    }
    return CSkinSubDialog::OnCommand(id, code, control);
}

bool CDisplayDlg::OnLButtonDown(UINT, POINT point) {
    Default();
    const int shownPage = left_.toggled ? 0 : 1;
    if (const auto index = display::PickedIndex(category_, point.x, point.y, shownPage)) {
        selected_[static_cast<size_t>(category_)] = *index;
        RedrawPage();
    }
    return true;
}

void CDisplayDlg::DrawControls() {
    left_.Redraw();
    right_.Redraw();
    skin::SkinCanvas canvas(surface, GetSafeHwnd(), skin::Origin::Parent, skin::Visible::Window,
                            skin::Present::No);
    if (!canvas) {
        return;
    }
    DrawCategoryPicture(canvas.graphics(), canvas.rect().left, canvas.rect().top);
    DrawList(canvas.graphics(), canvas.rect().left, canvas.rect().top);
}

void CDisplayDlg::DrawCategoryPicture(Gdiplus::Graphics& graphics, int left, int top) {
    const int x = left + kPictureAt.x;
    const int y = top + kPictureAt.y;
    skin::DrawWholeImage(graphics, dimPicture_, x, y);
    // The current category's quarter, lit.
    const int halfWidth = skin::ImageWidth(dimPicture_) / 2;
    const int halfHeight = skin::ImageHeight(dimPicture_) / 2;
    const int sourceX = (category_ % 2) * halfWidth;
    const int sourceY = (category_ / 2) * halfHeight;
    skin::DrawImagePart(
        graphics, litPicture_,
        RECT{x + sourceX, y + sourceY, x + sourceX + halfWidth, y + sourceY + halfHeight}, sourceX,
        sourceY, halfWidth, halfHeight);
}

void CDisplayDlg::DrawList(Gdiplus::Graphics& graphics, int left, int top) {
    const int index = selected(category_);
    Gdiplus::SolidBrush selection{Gdiplus::Color{kSelectionColour}};
    graphics.FillRectangle(
        &selection, left + kBarLeft,
        top + kBarTop + display::SelectionRow(category_, index) * display::kRowHeight, kBarWidth,
        display::kRowHeight);
    Gdiplus::FontFamily family(skin::kFontFamily);
    Gdiplus::Font font(&family, kFontPx, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush white{Gdiplus::Color{kTextColour}};
    const display::ShownRows rows = display::RowsShown(category_, index);
    for (int k = 0; k < rows.count; ++k) {
        const std::wstring_view text = display::ChoiceText(category_, rows.first + k);
        const int length = static_cast<int>(text.size());
        skin::DrawTextAt(graphics, text.data(), length, font, white,
                         static_cast<float>(left + display::TextX(length)),
                         static_cast<float>(top + kTextTop + k * display::kRowHeight));
    }
}

display::ModeOutcome CDisplayDlg::ApplyCategory(int category, int index) {
    HWND owner = ::GetParent(GetSafeHwnd());
    const display::KeepQuestion keep = [owner] {
        CKeepModeDlg question(owner);
        return question.AskToKeep();
    };
    return modeSwitch_.Apply(category, index, DriverBinding::Entries().ATIDL_SetRotationAngle,
                             keep);
}

void CDisplayDlg::RestoreChoice(int category, int stored) {
    selected_[static_cast<size_t>(category)] = display::LoadedIndex(category, stored);
    if (category == display::kResolution) {
        MarkResolutionPage(display::ResolutionPage(selected_[display::kResolution]));
    }
    RedrawPage();
}

void CDisplayDlg::OnApplyPage() {
    const int category = category_;
    const int storedBefore = Stored(g_runSettings.Display, category);
    const display::ModeOutcome outcome = ApplyCategory(category, selected(category));
    if (category == display::kResolution) {
        display::BroadcastSettingChange();
    }
    const bool taken =
        outcome == display::ModeOutcome::Kept || outcome == display::ModeOutcome::Unchanged;
    if (!taken) {
        RestoreChoice(category, storedBefore);
    }
    StoreChoices();
    if (!taken) {
        // Exactly what was stored, also a value the page does not list.
        Stored(g_runSettings.Display, category) = storedBefore;
    }
    SaveDisplaySettings();
    if (outcome == display::ModeOutcome::Refused) {
        ::MessageBoxW(::GetParent(GetSafeHwnd()), kUnsupportedMessage, kMessageCaption, MB_OK);
    }
}

void CDisplayDlg::OnConfirm() {
    ApplyAndHide();
}

void CDisplayDlg::StoreChoices() const {
    for (int category = 0; category < display::kCategoryCount; ++category) {
        Stored(g_runSettings.Display, category) = selected_[static_cast<size_t>(category)];
    }
}

LRESULT CDisplayDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        // The choices reach the file at exit when the user keeps settings on exit.
        StoreChoices();
    }
    return CSkinSubDialog::WindowProc(msg, wParam, lParam);
}
