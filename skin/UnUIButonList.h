// A window-less vertical list of label buttons drawn into the owner's surface. The owner's
// window procedure offers it every message first; it consumes mouse messages over its items and
// posts the chosen item to the owner.
#pragma once

#include <windows.h>

#include "skin/GdiplusFwd.h"
#include "skin/core/ItemListLayout.h"

class SkinSurface;

class UnUIButonList {
  public:
    // Looks every label of the table up in the registry (so construct after LoadSkinImages).
    UnUIButonList();
    virtual ~UnUIButonList() = default;
    UnUIButonList(const UnUIButonList&) = delete;
    UnUIButonList& operator=(const UnUIButonList&) = delete;

    // Shows the entries of a page type (1-7) and redraws; other types keep the previous items.
    void SetPage(int type);

    // The owner's filter: non-zero when the message is consumed.
    virtual int HandleMouseMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual int OnMouseMessage(UINT msg, int x, int y, WPARAM wParam, LPARAM lParam);
    // Draws the background under the frame and (when enabled) the items, then presents.
    virtual void Draw();
    virtual int OnMouseMove(int x, int y);
    virtual int OnLButtonDown(int x, int y);
    virtual int OnLButtonUp(int x, int y);
    // The pointer left the owner (or the owner hid): no item stays highlighted.
    virtual void OnMouseLeave();

    RECT frame{};
    RECT itemRects[skin::kMaxListItems]{};
    SkinSurface* surface = nullptr;
    Gdiplus::Image* background = nullptr;
    int pageType = 1;
    unsigned itemCount = 0;
    int hoverIndex = -1;
    HWND owner = nullptr;
    bool enabled = true;
    int imageRow = 0;
    Gdiplus::Image* images[skin::kLabelRows][skin::kLabelSlots]{};

  private:
    int ItemAt(int x, int y) const;
    // Makes hoverIndex the item (or -1) and redraws when it changed.
    void SetHover(int item);
};
