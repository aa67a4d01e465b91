#include "skin/StaticButon.h"

void CStaticButon::PreSubclassWindow() {
    HWND hwnd = GetSafeHwnd();
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) | SS_NOTIFY);
}

void CStaticButon::LayOutMark() {
    RECT client{};
    if (!::GetClientRect(GetSafeHwnd(), &client)) {
        return;
    }
    const int left = client.right - 65;
    const int top = client.top + 2;
    markRect = {left, top, left + skin::ImageWidth(markImage), top + skin::ImageHeight(markImage)};
}

void CStaticButon::Draw() {
    HWND hwnd = GetSafeHwnd();
    HDC dc = skin::SurfaceDc(surface);
    if (hwnd == nullptr || !::IsWindowVisible(hwnd) || dc == nullptr) {
        return;
    }
    const RECT rect = skin::RectInClient(hwnd, skin::ApplicationMainWindow(hwnd));
    Gdiplus::Graphics graphics(dc);
    skin::DrawImageAt(graphics, background, rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top);
    Gdiplus::Image* mark = toggled ? markToggledImage : (hover ? markHoverImage : markImage);
    RECT target = markRect;
    ::OffsetRect(&target, rect.left, rect.top);
    skin::DrawImageAt(graphics, mark, target.left, target.top, skin::ImageWidth(mark),
                      skin::ImageHeight(mark));
}

void CStaticButon::DrawAndPresent() {
    Draw();
    skin::RequestPresent(skin::ApplicationMainWindow(GetSafeHwnd()));
}

LRESULT CStaticButon::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (msg) {
        case WM_SIZE: {
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            LayOutMark();
            return result;
        }
        case WM_LBUTTONDOWN: {
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            if (::PtInRect(&markRect, point)) {
                toggled = !toggled;
                DrawAndPresent();
            }
            return result;
        }
        case WM_MOUSEMOVE: {
            if (!::IsWindowVisible(GetSafeHwnd())) {
                return 0;
            }
            const bool inside = ::PtInRect(&markRect, point) != FALSE;
            if (inside != hover) {
                hover = inside;
                DrawAndPresent();
            } else if (tracking == 0) {
                tracking = TrackMouseHoverAndLeave();
            }
            return DefWindowProc(msg, wParam, lParam);
        }
        case WM_MOUSELEAVE:
            tracking = 0;
            hover = false;
            DrawAndPresent();
            return 0;
        case WM_MOUSEHOVER:
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        default:
            break;
    }
    return fw::CStatic::WindowProc(msg, wParam, lParam);
}
