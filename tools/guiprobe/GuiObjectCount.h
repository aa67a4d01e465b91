// Counts of the calling process's live GDI and USER objects, for leak tests under Wine, whose
// GetGuiResources always answers 0.
//
// Wine 8 keeps both handle tables inside the process and accepts a handle whose high word is 0
// for whatever live object sits at that table index, so probing every index finds every live
// object of the process:
// - GDI: the handle's low word is the index; GetObjectType answers 0 for a free one. Stock
//   objects and every device context are counted too.
// - USER: index i is handle 0x20 + 2 i (up to 0xFFEF). A window of this process (IsWindow, and
//   its process id, since the server also answers for other processes' windows), a menu (IsMenu),
//   an icon or cursor (GetIconInfo), an accelerator table (CopyAcceleratorTable).
// On Windows the same probing would miss most objects (their handles carry a non-zero high
// word there); use GetGuiResources there.
#pragma once

namespace guiprobe {

enum class GuiObjectKind : int { Gdi = 0, Windows, Menus, Icons, Accelerators };
inline constexpr int kGuiObjectKinds = 5;

// Labels for printing, in GuiObjectKind order.
const char* GuiObjectLabel(GuiObjectKind kind);

int CountGuiObjects(GuiObjectKind kind);

struct GuiObjectCounts {
    int counts[kGuiObjectKinds] = {};

    int of(GuiObjectKind kind) const { return counts[static_cast<int>(kind)]; }
    int gdi() const { return of(GuiObjectKind::Gdi); }
    // Windows, menus, icons and cursors, and accelerator tables.
    int user() const;
};

GuiObjectCounts CountAllGuiObjects();

}  // namespace guiprobe
