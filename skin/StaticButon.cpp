#include "skin/StaticButon.h"

#include "skin/SkinCanvas.h"
#include "skin/SkinPaint.h"

void CStaticButon::PreSubclassWindow() {
    skin::AddNotifyStyle(GetSafeHwnd());
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
    Paint(skin::Present::No);
}

void CStaticButon::Paint(skin::Present present) {
    skin::SkinCanvas canvas(surface, GetSafeHwnd(), skin::Origin::MainWindow, skin::Visible::Window,
                            present);
    if (!canvas) {
        return;
    }
    const RECT& rect = canvas.rect();
    skin::DrawImageAt(canvas.graphics(), background, rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top);
    Gdiplus::Image* mark = toggled ? markToggledImage : (hover ? markHoverImage : markImage);
    skin::DrawWholeImage(canvas.graphics(), mark, rect.left + markRect.left,
                         rect.top + markRect.top);
}

bool CStaticButon::OnSize(UINT, int, int) {
    Default();
    LayOutMark();
    return true;
}

bool CStaticButon::OnLButtonDown(UINT, POINT point) {
    Default();
    if (::PtInRect(&markRect, point)) {
        toggled = !toggled;
        Paint(skin::Present::AtEnd);
    }
    return true;
}

bool CStaticButon::OnMouseMove(UINT, POINT point) {
    if (!::IsWindowVisible(GetSafeHwnd())) {
        return true;
    }
    const bool inside = ::PtInRect(&markRect, point) != FALSE;
    const bool changed = inside != hover;
    hover = inside;
    return EndMouseMove(changed, tracking, [this] { Paint(skin::Present::AtEnd); });
}

bool CStaticButon::OnMouseLeave() {
    tracking = 0;
    hover = false;
    Paint(skin::Present::AtEnd);
    return true;
}

bool CStaticButon::OnMouseHover(UINT, POINT) {
    return true;
}
