#include "tools/guiprobe/GuiObjectCount.h"

#include <windows.h>

namespace guiprobe {

namespace {

constexpr unsigned kLastGdiIndex = 0xFFFF;
constexpr unsigned kFirstUserHandle = 0x0020;
constexpr unsigned kLastUserHandle = 0xFFEF;

HANDLE HandleAt(unsigned lowWord) {
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(lowWord));
}

bool IsOwnWindow(HANDLE handle) {
    auto hwnd = static_cast<HWND>(handle);
    DWORD pid = 0;
    return ::IsWindow(hwnd) && ::GetWindowThreadProcessId(hwnd, &pid) != 0 &&
           pid == ::GetCurrentProcessId();
}

bool IsMenuHandle(HANDLE handle) {
    return ::IsMenu(static_cast<HMENU>(handle)) != FALSE;
}

bool IsIconHandle(HANDLE handle) {
    ICONINFO info{};
    if (!::GetIconInfo(static_cast<HICON>(handle), &info)) {
        return false;
    }
    // GetIconInfo hands out copies of the icon's bitmaps.
    if (info.hbmMask != nullptr) {
        ::DeleteObject(info.hbmMask);
    }
    if (info.hbmColor != nullptr) {
        ::DeleteObject(info.hbmColor);
    }
    return true;
}

bool IsAcceleratorHandle(HANDLE handle) {
    return ::CopyAcceleratorTableW(static_cast<HACCEL>(handle), nullptr, 0) > 0;
}

using UserProbe = bool (*)(HANDLE);

int CountUserObjects(UserProbe probe) {
    int count = 0;
    for (unsigned handle = kFirstUserHandle; handle <= kLastUserHandle; handle += 2) {
        if (probe(HandleAt(handle))) {
            ++count;
        }
    }
    return count;
}

int CountGdiObjects() {
    int count = 0;
    for (unsigned index = 1; index <= kLastGdiIndex; ++index) {
        if (::GetObjectType(HandleAt(index)) != 0) {
            ++count;
        }
    }
    return count;
}

}  // namespace

const char* GuiObjectLabel(GuiObjectKind kind) {
    static const char* const labels[kGuiObjectKinds] = {"gdi", "windows", "menus", "icons",
                                                        "accelerators"};
    return labels[static_cast<int>(kind)];
}

int CountGuiObjects(GuiObjectKind kind) {
    switch (kind) {
        case GuiObjectKind::Gdi:
            return CountGdiObjects();
        case GuiObjectKind::Windows:
            return CountUserObjects(&IsOwnWindow);
        case GuiObjectKind::Menus:
            return CountUserObjects(&IsMenuHandle);
        case GuiObjectKind::Icons:
            return CountUserObjects(&IsIconHandle);
        case GuiObjectKind::Accelerators:
            return CountUserObjects(&IsAcceleratorHandle);
    }
    return 0;
}

int GuiObjectCounts::user() const {
    return of(GuiObjectKind::Windows) + of(GuiObjectKind::Menus) + of(GuiObjectKind::Icons) +
           of(GuiObjectKind::Accelerators);
}

GuiObjectCounts CountAllGuiObjects() {
    GuiObjectCounts result;
    for (int kind = 0; kind < kGuiObjectKinds; ++kind) {
        result.counts[kind] = CountGuiObjects(static_cast<GuiObjectKind>(kind));
    }
    return result;
}

}  // namespace guiprobe
