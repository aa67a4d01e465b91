#include "app/WindowClass.h"

#include "res/resource.h"

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    if (!::GetClassInfoW(nullptr, MAKEINTRESOURCEW(0x8002), &wc)) {  // #32770
        return false;
    }
    wc.style = CS_DBLCLKS | CS_SAVEBITS | CS_BYTEALIGNWINDOW;
    wc.lpfnWndProc = ::DefDlgProcW;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = kMainWindowClass;
    return ::RegisterClassW(&wc) != 0;
}
