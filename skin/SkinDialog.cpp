#include "skin/SkinDialog.h"

#include "skin/SkinPaint.h"

namespace {

BOOL CALLBACK SendMouseLeave(HWND window, LPARAM) {
    ::SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    return TRUE;
}

// The whole surface cleared, then the picture at (0, 0): drawn over the previous picture, its
// soft (partly transparent) edges would blend twice.
void DrawAlone(SkinSurface& target, Gdiplus::Image* picture) {
    target.Clear({0, 0, SkinSurface::kWidth, SkinSurface::kHeight});
    Gdiplus::Graphics graphics(target.GetDC());
    skin::DrawWholeImage(graphics, picture, 0, 0);
}

}  // namespace

CSkinDialog::CSkinDialog(UINT templateId) : fw::CDialog(templateId, nullptr) {}

void CSkinDialog::PreSubclassWindow() {
    fw::CDialog::PreSubclassWindow();
    // Without a window DC there is no surface, and drawing into it is skipped everywhere.
    surface.Create(GetSafeHwnd());
}

BOOL CSkinDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    HWND hwnd = GetSafeHwnd();
    // The surface is presented from the window's top-left corner: a client edge would put every
    // control, and so every hit area, two pixels right of and below its picture.
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                        ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
    const bool sized = skin::ImageStatusOk(background);
    // Sizing leaves activation to the show: activating a window is a round trip to the one
    // that was active, which a hidden window need not wait for.
    ::SetWindowPos(
        hwnd, nullptr, 0, 0, SkinSurface::kWidth, SkinSurface::kHeight,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | (sized ? 0 : SWP_NOSIZE));
    if (sized) {
        DrawBackground();
    }
    return TRUE;
}

void CSkinDialog::DrawBackground() {
    if (!surface || !skin::ImageStatusOk(background)) {
        return;
    }
    if (background == preparedPicture_ && surface.CopyFrom(prepared_)) {
        return;
    }
    DrawAlone(surface, background);
}

void CSkinDialog::PrepareBackground(Gdiplus::Image* picture) {
    preparedPicture_ = nullptr;
    if (!skin::ImageStatusOk(picture) || !(prepared_ || prepared_.Create(GetSafeHwnd()))) {
        return;
    }
    DrawAlone(prepared_, picture);
    preparedPicture_ = picture;
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

bool CSkinDialog::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(GetSafeHwnd(), &paint);
    if (dc != nullptr) {
        RECT client{};
        ::GetClientRect(GetSafeHwnd(), &client);
        surface.PaintTo(dc, client.right - client.left, client.bottom - client.top);
    }
    ::EndPaint(GetSafeHwnd(), &paint);
    return true;
}

bool CSkinDialog::OnEraseBkgnd(HDC) {
    return true;
}

bool CSkinDialog::OnLButtonDown(UINT, POINT) {
    Default();
    ::SetFocus(GetSafeHwnd());
    return true;
}

bool CSkinDialog::OnShowWindow(bool shown, UINT) {
    if (!shown) {
        // While the window is hidden a control cannot draw, so a leave notification arriving
        // then would leave its lit face in the picture shown next: every control (and the
        // window's own window-less parts) forgets the pointer while it still can draw.
        HWND hwnd = GetSafeHwnd();
        ::EnumChildWindows(hwnd, &SendMouseLeave, 0);
        ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    }
    return false;
}
