#include "gpu/ThreeDSetDlg.h"

#include <string>

#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"

namespace {

// The rows' template controls, rows 1 to 6.
constexpr int kRowIds[gpu::kThreeDRowCount] = {IDC_3D_ROW1, IDC_3D_ROW2, IDC_3D_ROW3,
                                               IDC_3D_ROW4, IDC_3D_ROW5, IDC_3D_ROW6};
constexpr int kRowX = 2;
constexpr int kFirstRowY = 16;
constexpr int kRowPitch = 24;
constexpr int kRowWidth = 265;
constexpr int kRowHeight = 18;

// Reading a preset for any mode but 0 and 1 reads mode 2.
int PresetToRead(int mode) {
    return mode == 0 || mode == 1 ? mode : 2;
}

}  // namespace

CThreeDSetDlg::CThreeDSetDlg(GammaRampWriter writeGammaRamp)
    : CSkinSubDialog(IDD_THREED), writeGammaRamp_(writeGammaRamp) {}

void CThreeDSetDlg::DoDataExchange() {
    for (size_t i = 0; i < rows.size(); ++i) {
        BindControl(kRowIds[i], rows[i]);
    }
}

BOOL CThreeDSetDlg::OnInitDialog() {
    CSkinSubDialog::OnInitDialog();
    LayoutControls();
    LoadStoredMode();
    return TRUE;
}

void CThreeDSetDlg::LoadStoredMode() {
    if (modeLoaded_) {
        return;
    }
    modeLoaded_ = true;
    const auto stored = static_cast<std::uint32_t>(g_runSettings.Pages.ThreeDInfoPage);
    currentMode = stored < kModeCount ? static_cast<int>(stored) : 0;
    LoadMode();
}

void CThreeDSetDlg::LayoutControls() {
    for (size_t i = 0; i < rows.size(); ++i) {
        CStaticButon& row = rows[i];
        row.background = FindSkinImage((L"3D_Btn" + std::to_wstring(i + 1)).c_str());
        row.markImage = FindSkinImage(L"Setdlg_BtnSel");
        row.markHoverImage = FindSkinImage(L"Setdlg_Btn_M");
        row.markToggledImage = FindSkinImage(L"Setdlg_UnBtnSel");
        if (HWND hwnd = row.GetSafeHwnd()) {
            const int y = kFirstRowY + kRowPitch * static_cast<int>(i);
            ::MoveWindow(hwnd, kRowX, y, kRowWidth, kRowHeight, FALSE);
        }
        // The mark's place depends on its image, which may have come after the last WM_SIZE.
        row.LayOutMark();
    }
}

void CThreeDSetDlg::LoadMode() {
    const ThreeDPreset& preset = g_runSettings.ThreeD[PresetToRead(currentMode)];
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].toggled = preset.Set[i];
    }
}

void CThreeDSetDlg::StoreRows() {
    if (currentMode < 0 || currentMode >= kModeCount) {
        return;
    }
    ThreeDPreset& preset = g_runSettings.ThreeD[currentMode];
    for (size_t i = 0; i < rows.size(); ++i) {
        preset.Set[i] = rows[i].toggled;
    }
}

void CThreeDSetDlg::DrawControls() {
    for (CStaticButon& row : rows) {
        row.Draw();
    }
}

void CThreeDSetDlg::AttachSkin(SkinSurface* newSurface, Gdiplus::Image* newBackground) {
    CSkinSubDialog::AttachSkin(newSurface, newBackground);
    for (CStaticButon& row : rows) {
        row.AttachSurface(newSurface);
    }
}

BOOL CThreeDSetDlg::ShowPage(int showCmd) {
    LoadMode();
    SelectItem(currentMode);
    ::ShowWindow(GetSafeHwnd(), showCmd);
    RedrawPage();
    return TRUE;
}

void CThreeDSetDlg::SelectItem(int index) {
    StoreRows();
    currentMode = index;
    LoadMode();
    RedrawPage();
}

void CThreeDSetDlg::ApplyThreeD() {
    LoadStoredMode();
    std::array<bool, gpu::kThreeDRowCount> toggled{};
    for (size_t i = 0; i < rows.size(); ++i) {
        toggled[i] = rows[i].toggled;
    }
    if (writeGammaRamp_ != nullptr) {
        writeGammaRamp_(gpu::ThreeDGammaExponent(toggled));
    }
}

void CThreeDSetDlg::OnApplyPage() {
    ApplyThreeD();
    g_runSettings.Pages.ThreeDInfoPage = currentMode;
    StoreRows();
    SaveThreeDPresets();
    SavePageSelection();
}

void CThreeDSetDlg::OnConfirm() {
    ApplyAndHide();
}

void CThreeDSetDlg::OnRestoreDefault() {
    if (writeGammaRamp_ != nullptr) {
        writeGammaRamp_(1.0);
    }
}

void CThreeDSetDlg::ApplyModeByShortcut(int k) {
    modeLoaded_ = true;
    currentMode = k;
    LoadMode();
    OnApplyPage();
    RedrawPage();
}

LRESULT CThreeDSetDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        StoreRows();
    }
    return CSkinSubDialog::WindowProc(msg, wParam, lParam);
}
