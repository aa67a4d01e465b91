#include "skin/SkinSubDialog.h"

CSkinSubDialog::CSkinSubDialog(UINT templateId, HWND parent) : fw::CDialog(templateId, parent) {}

int CSkinSubDialog::RedrawPage() {
    HWND hwnd = GetSafeHwnd();
    if (hwnd == nullptr || !::IsWindowVisible(hwnd)) {
        return 0;
    }
    HWND parent = ::GetParent(hwnd);
    const RECT rect = skin::RectInClient(hwnd, parent);
    HDC dc = skin::SurfaceDc(surface);
    // A page shown before it was given the surface has nothing to draw into.
    if (dc != nullptr && skin::ImageStatusOk(background)) {
        Gdiplus::Graphics graphics(dc);
        skin::DrawImageAt(graphics, background, rect.left, rect.top, skin::ImageWidth(background),
                          skin::ImageHeight(background));
    }
    DrawControls();
    return static_cast<int>(skin::RequestPresent(parent));
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

void CSkinSubDialog::OnRestoreDefault() {}

void CSkinSubDialog::OnApplyPage() {}

BOOL CSkinSubDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    if (skin::ImageStatusOk(background)) {
        RedrawPage();
    }
    return TRUE;
}

LRESULT CSkinSubDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        return TRUE;
    }
    return fw::CDialog::WindowProc(msg, wParam, lParam);
}
