#include "skin/SkinSubDialog.h"

#include "skin/AppMessages.h"
#include "skin/SkinCanvas.h"
#include "skin/SkinPaint.h"

CSkinSubDialog::CSkinSubDialog(UINT templateId, HWND parent) : fw::CDialog(templateId, parent) {}

int CSkinSubDialog::RedrawPage() {
    HWND hwnd = GetSafeHwnd();
    if (hwnd == nullptr || !::IsWindowVisible(hwnd)) {
        return 0;
    }
    if (skin::ImageStatusOk(background)) {
        // A page shown before it was given the surface has nothing to draw into.
        skin::SkinCanvas canvas(surface, hwnd, skin::Origin::Parent, skin::Visible::Always,
                                skin::Present::No);
        if (canvas) {
            skin::DrawWholeImage(canvas.graphics(), background, canvas.rect().left,
                                 canvas.rect().top);
        }
    }
    DrawControls();
    return static_cast<int>(skin::RequestPresent(::GetParent(hwnd)));
}

void CSkinSubDialog::DrawControls() {}

void CSkinSubDialog::AttachSkin(SkinSurface* newSurface, Gdiplus::Image* newBackground) {
    surface = newSurface;
    background = newBackground;
}

BOOL CSkinSubDialog::ShowPage(int showCmd) {
    ::ShowWindow(GetSafeHwnd(), showCmd);
    RedrawPage();
    return TRUE;
}

void CSkinSubDialog::SelectItem(int) {}

void CSkinSubDialog::OnConfirm() {}

void CSkinSubDialog::AskToHide() {
    ::PostMessageW(::GetParent(GetSafeHwnd()), WM_APP_SHOW_STATE, 0, 0);
}

void CSkinSubDialog::ApplyAndHide() {
    OnApplyPage();
    AskToHide();
}

void CSkinSubDialog::OnRestoreDefault() {}

void CSkinSubDialog::OnApplyPage() {}

BOOL CSkinSubDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    if (skin::ImageStatusOk(background)) {
        RedrawPage();
    }
    return TRUE;
}

bool CSkinSubDialog::OnEraseBkgnd(HDC) {
    return true;
}
