// The item list's label table and page layouts.
#pragma once

#include <array>
#include <optional>

#include "skin/core/SkinGeometry.h"

namespace skin {

// The item lists (the page types of SetPage), named after what they list.
enum class ItemListType : int {
    Overclock = 1,       // the overclocking page's four values
    ShortcutGroups = 2,  // the shortcut page's three groups
    ThreeDModes = 3,
    Hardware = 4,
    Display = 5,
    Quality = 6,
    ThreeDDetails = 7,  // highlights but never reports a selection
};

constexpr int kLabelRows = 7;
constexpr int kLabelSlots = 24;
constexpr int kMaxListItems = 8;

// Image name of a label slot (normal faces, then "D" faces, then "M" faces); null when empty.
const wchar_t* ListLabelName(int row, int slot);

enum class LabelFace { Normal, Down, Hover };
// Slot of item index's face in a row of itemCount items.
constexpr int ListLabelSlot(LabelFace face, int itemCount, int index) {
    return static_cast<int>(face) * itemCount + index;
}

struct ListPageLayout {
    int itemCount = 0;
    int labelRow = 0;
    int firstTop = 0;  // below the frame's top
    int gap = 0;
};
// Layout of page types 1..7; nothing for other types.
std::optional<ListPageLayout> ListLayoutForPage(int pageType);

// Item rectangles of a page laid out in a frame, items of itemWidth x itemHeight.
std::array<IntRect, kMaxListItems> LayOutListItems(const IntRect& frame,
                                                   const ListPageLayout& layout, int itemWidth,
                                                   int itemHeight);

}  // namespace skin
