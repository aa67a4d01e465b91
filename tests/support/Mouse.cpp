#include "tests/support/Mouse.h"

namespace testkit {

void ClickAt(HWND control, POINT point) {
    const LPARAM where = MAKELPARAM(point.x, point.y);
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::SendMessageW(control, WM_LBUTTONUP, 0, where);
}

void ClickMiddle(HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    ClickAt(control, {client.right / 2, client.bottom / 2});
}

}  // namespace testkit
