// The hotkey value: one unsigned 32-bit number per hotkey. Bytes 3, 2 and 1 hold the virtual-key
// code of Shift (0x10), Ctrl (0x11) and Alt (0x12) when that modifier belongs to the combination,
// byte 0 the main key; 0 means no hotkey. The settings file stores it as a signed decimal and the
// main window registers it with the system; both rely on the rules here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace shortcuts {

using HotKeyValue = std::uint32_t;

inline constexpr HotKeyValue kShiftMarker = 0x10000000u;
inline constexpr HotKeyValue kCtrlMarker = 0x00110000u;
inline constexpr HotKeyValue kAltMarker = 0x00001200u;
// What a key pressed without any modifier is taken as: Ctrl+Alt+key.
inline constexpr HotKeyValue kAloneModifiers = kCtrlMarker | kAltMarker;

// A modifier counts only when its byte holds exactly its marker.
constexpr bool HasShift(HotKeyValue value) {
    return (value & 0xFF000000u) == kShiftMarker;
}
constexpr bool HasCtrl(HotKeyValue value) {
    return (value & 0x00FF0000u) == kCtrlMarker;
}
constexpr bool HasAlt(HotKeyValue value) {
    return (value & 0x0000FF00u) == kAltMarker;
}
constexpr unsigned KeyOf(HotKeyValue value) {
    return value & 0xFFu;
}

// The markers of the held modifiers, in their bytes.
constexpr HotKeyValue ModifierPart(bool shift, bool ctrl, bool alt) {
    return (shift ? kShiftMarker : 0u) | (ctrl ? kCtrlMarker : 0u) | (alt ? kAltMarker : 0u);
}

// The system's modifier flags for a value: MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4.
inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;
constexpr unsigned RegisterModifiers(HotKeyValue value) {
    return (HasShift(value) ? kModShift : 0u) | (HasCtrl(value) ? kModControl : 0u) |
           (HasAlt(value) ? kModAlt : 0u);
}

// The name of a virtual-key code; empty for every code that cannot be part of a hotkey (codes
// above 0xFF included).
std::wstring GetKeyName(std::uint64_t key);

// The text of a value and the value a field holds for it: "SHIFT", "CTRL", "ALT" and the key
// name joined by "+". Shift+Ctrl+Alt together is refused: empty text and value 0.
struct HotKeyText {
    std::wstring text;
    HotKeyValue value;
};
HotKeyText FormatHotKey(HotKeyValue value);

// Whether a value may be registered with the system: its key is named, and its marker bytes
// give at least one modifier but not all three. A bare key would be taken from every program.
bool IsRegistrableHotKey(HotKeyValue value);

// A value from outside (the settings file) reduced to what is registered for it: marker bytes
// that hold anything but their marker are cleared, and a value that cannot be registered
// becomes 0, so that a field never shows a hotkey that does not act.
HotKeyValue BoundHotKey(std::int64_t stored);

// The value an ordinary key press gives, or nothing when the key has no name. A named key with
// no modifier held is taken as Ctrl+Alt+key.
std::optional<HotKeyValue> CaptureKeyDown(std::uint64_t key, bool shift, bool ctrl, bool alt);
// The value an Alt combination gives from the character it produced (letters upper-cased), or
// nothing when Alt is not down or the character is not a letter or a digit.
std::optional<HotKeyValue> CaptureAltCharacter(std::int64_t character, bool shift, bool alt);

}  // namespace shortcuts
