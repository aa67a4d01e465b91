#include "skin/SkinCanvas.h"

#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"

namespace skin {
namespace {

bool Shows(HWND window) {
    return window != nullptr && ::IsWindowVisible(window);
}

}  // namespace

SkinCanvas::SkinCanvas(SkinSurface* surface, HWND window, Origin origin, Visible visible,
                       Present present)
    : present_(present) {
    if (window == nullptr) {
        return;
    }
    HWND parent = ::GetParent(window);
    if ((visible == Visible::Window && !Shows(window)) ||
        (visible == Visible::Parent && !Shows(parent))) {
        return;
    }
    HWND presenter = origin == Origin::Parent ? parent : ApplicationMainWindow(window);
    if (presenter != nullptr) {
        Open(surface, RectInClient(window, presenter), presenter);
    }
}

SkinCanvas::SkinCanvas(SkinSurface* surface, const RECT& rect, HWND presenter, Present present)
    : present_(present) {
    Open(surface, rect, presenter);
}

SkinCanvas::~SkinCanvas() {
    Finish();
}

void SkinCanvas::Open(SkinSurface* surface, const RECT& rect, HWND presenter) {
    HDC dc = surface != nullptr ? surface->DrawingDc(rect) : nullptr;
    if (dc == nullptr) {
        return;
    }
    surface_ = surface;
    rect_ = rect;
    presenter_ = presenter;
    graphics_ = std::make_unique<Gdiplus::Graphics>(dc);
    // The surface counts only this rectangle as changed: nothing may be drawn outside it.
    graphics_->SetClip(
        Gdiplus::Rect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
}

void SkinCanvas::Clear() {
    if (graphics_ != nullptr) {
        graphics_->Flush(Gdiplus::FlushIntentionSync);
        surface_->Clear(rect_);
    }
}

LRESULT SkinCanvas::Finish() {
    if (graphics_ == nullptr) {
        return 0;
    }
    // The Graphics goes first, so that everything it drew is in the surface when it is shown.
    graphics_.reset();
    return present_ == Present::AtEnd ? RequestPresent(presenter_) : 0;
}

}  // namespace skin
