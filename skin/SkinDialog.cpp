#include "skin/SkinDialog.h"

CSkinDialog::CSkinDialog(UINT templateId) : fw::CDialog(templateId, nullptr) {}

void CSkinDialog::PreSubclassWindow() {
    fw::CDialog::PreSubclassWindow();
    surface.Create(GetSafeHwnd());
}

BOOL CSkinDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    if (skin::ImageStatusOk(background)) {
        ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, SkinSurface::kWidth, SkinSurface::kHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        DrawBackground();
    }
    return TRUE;
}

void CSkinDialog::DrawBackground() {
    HDC dc = surface.GetDC();
    if (dc == nullptr || !skin::ImageStatusOk(background)) {
        return;
    }
    Gdiplus::Graphics graphics(dc);
    skin::DrawImageAt(graphics, background, 0, 0, skin::ImageWidth(background),
                      skin::ImageHeight(background));
}

BOOL CSkinDialog::PreTranslateMessage(MSG* msg) {
    if (msg != nullptr && msg->message == WM_KEYDOWN) {
        HWND focus = ::GetFocus();
        const bool swallowed =
            msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE || msg->wParam == VK_SPACE;
        if (swallowed && focus != nullptr && msg->hwnd == focus) {
            return TRUE;
        }
    }
    return fw::CDialog::PreTranslateMessage(msg);
}

void CSkinDialog::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(GetSafeHwnd(), &paint);
    if (dc != nullptr) {
        RECT client{};
        ::GetClientRect(GetSafeHwnd(), &client);
        surface.PaintTo(dc, client.right - client.left, client.bottom - client.top);
    }
    ::EndPaint(GetSafeHwnd(), &paint);
}

LRESULT CSkinDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_LBUTTONDOWN: {
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            ::SetFocus(GetSafeHwnd());
            return result;
        }
        default:
            break;
    }
    return fw::CDialog::WindowProc(msg, wParam, lParam);
}
