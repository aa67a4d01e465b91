// Mouse clicks on a control as the mouse gives them: a press and a release of the left button,
// sent (so they are handled when the call returns).
#pragma once

#include <windows.h>

namespace testkit {

// At a point of the control's client area.
void ClickAt(HWND control, POINT point);
// At the middle of the control's client area.
void ClickMiddle(HWND control);

}  // namespace testkit
