#include "skin/SkinWindow.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "skin/AppMessages.h"
#include "skin/SkinSurface.h"

namespace skin {

RECT RectInClient(HWND window, HWND reference) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) {
        return RECT{};
    }
    ::MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND ApplicationMainWindow(HWND window) {
    if (fw::CWinApp* app = fw::CWinApp::Current()) {
        if (fw::CWnd* main = app->mainWindow()) {
            if (HWND hwnd = main->GetSafeHwnd()) {
                return hwnd;
            }
        }
    }
    return window != nullptr ? ::GetAncestor(window, GA_ROOT) : nullptr;
}

LRESULT RequestPresent(HWND target) {
    if (target == nullptr) {
        return 0;
    }
    return ::SendMessageW(target, WM_APP_REFRESH_LAYER, 0, 0);
}

void MakeOwnerDraw(HWND control, LONG_PTR extraStyle) {
    if (control == nullptr) {
        return;
    }
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE) | extraStyle;
    if (::lstrcmpiW(className, L"Button") == 0) {
        style = (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW;
    } else {
        style = (style & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | SS_OWNERDRAW;
    }
    ::SetWindowLongPtrW(control, GWL_STYLE, style);
}

void AddNotifyStyle(HWND control) {
    if (control != nullptr) {
        ::SetWindowLongPtrW(control, GWL_STYLE,
                            ::GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
    }
}

HDC SurfaceDc(SkinSurface* surface) {
    return surface != nullptr ? surface->GetDC() : nullptr;
}

}  // namespace skin
