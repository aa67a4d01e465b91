#include "skin/UnUIButonList.h"

#include "framework/Wnd.h"
#include "skin/AppMessages.h"
#include "skin/SkinCanvas.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"

UnUIButonList::UnUIButonList() {
    for (int row = 0; row < skin::kLabelRows; ++row) {
        for (int slot = 0; slot < skin::kLabelSlots; ++slot) {
            images[row][slot] = FindSkinImage(skin::ListLabelName(row, slot));
        }
    }
}

void UnUIButonList::SetPage(int type) {
    pageType = type;
    hoverIndex = -1;
    if (const auto layout = skin::ListLayoutForPage(type)) {
        itemCount = static_cast<unsigned>(layout->itemCount);
        imageRow = layout->labelRow;
        // Every row has the size of the first label.
        Gdiplus::Image* first = images[0][0];
        const auto rects =
            skin::LayOutListItems({frame.left, frame.top, frame.right, frame.bottom}, *layout,
                                  skin::ImageWidth(first), skin::ImageHeight(first));
        for (size_t i = 0; i < rects.size(); ++i) {
            itemRects[i] = {rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
        }
    }
    Draw();
}

int UnUIButonList::ItemAt(int x, int y) const {
    const POINT point{x, y};
    for (unsigned i = 0; i < itemCount && i < skin::kMaxListItems; ++i) {
        if (::PtInRect(&itemRects[i], point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void UnUIButonList::Draw() {
    skin::SkinCanvas canvas(surface, frame, owner, skin::Present::AtEnd);
    if (!canvas) {
        return;
    }
    if (background != nullptr) {
        skin::DrawAtlas(canvas.graphics(), background, frame);
    }
    if (!enabled || imageRow < 0 || imageRow >= skin::kLabelRows) {
        return;
    }
    Gdiplus::Image* const* row = images[imageRow];
    const int count = static_cast<int>(itemCount);
    for (int i = 0; i < count && i < skin::kMaxListItems; ++i) {
        Gdiplus::Image* normal = row[skin::ListLabelSlot(skin::LabelFace::Normal, count, i)];
        Gdiplus::Image* face =
            i == hoverIndex ? row[skin::ListLabelSlot(skin::LabelFace::Hover, count, i)] : normal;
        skin::DrawImagePart(canvas.graphics(), face, itemRects[i], 0, 0, skin::ImageWidth(normal),
                            skin::ImageHeight(normal));
    }
}

int UnUIButonList::HandleMouseMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    owner = hwnd;
    if (!enabled) {
        return 0;
    }
    if (msg == WM_MOUSELEAVE) {
        OnMouseLeave();
        return 0;  // the owner may track the pointer too
    }
    if (msg < WM_MOUSEFIRST || msg > WM_XBUTTONDBLCLK) {
        return 0;
    }
    const POINT point = fw::PointFromLParam(lParam);
    return OnMouseMessage(msg, point.x, point.y, wParam, lParam);
}

int UnUIButonList::OnMouseMessage(UINT msg, int x, int y, WPARAM, LPARAM) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            return OnLButtonDown(x, y);
        case WM_LBUTTONUP:
            return OnLButtonUp(x, y);
        case WM_MOUSEMOVE:
            return OnMouseMove(x, y);
        default:
            return 0;
    }
}

void UnUIButonList::SetHover(int item) {
    if (item == hoverIndex) {
        return;
    }
    if (hoverIndex == -1 && owner != nullptr) {
        // The list has no window of its own: it learns that the pointer left through the
        // owner's leave notification.
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, owner, 0};
        ::TrackMouseEvent(&track);
    }
    hoverIndex = item;
    // Moving from one item straight onto another also redraws, so the highlight follows.
    Draw();
}

int UnUIButonList::OnMouseMove(int x, int y) {
    const int item = ItemAt(x, y);
    SetHover(item);
    return item >= 0 ? 1 : 0;
}

void UnUIButonList::OnMouseLeave() {
    SetHover(-1);
}

int UnUIButonList::OnLButtonDown(int x, int y) {
    if (owner != nullptr) {
        ::SetFocus(owner);
    }
    const int item = ItemAt(x, y);
    if (item < 0) {
        return 0;
    }
    // The list of the last type only shows its entries.
    if (pageType < static_cast<int>(skin::ItemListType::ThreeDDetails)) {
        ::PostMessageW(owner, WM_APP_SELECT_ITEM, static_cast<WPARAM>(pageType),
                       static_cast<LPARAM>(item));
    }
    return 1;
}

int UnUIButonList::OnLButtonUp(int x, int y) {
    return ItemAt(x, y) >= 0 ? 1 : 0;
}
