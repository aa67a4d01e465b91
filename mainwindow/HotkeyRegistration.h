// The main window's seventeen system-wide hotkeys, registered from the shared hotkey table: slot
// i belongs to the table's row i and is registered under that row's identifier. A slot keeps
// its identifier once registration was attempted, also when the combination was taken by
// another program.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "settings/core/HotkeyDefinitions.h"

class HotkeyRegistration {
  public:
    HotkeyRegistration() = default;
    HotkeyRegistration(const HotkeyRegistration&) = delete;
    HotkeyRegistration& operator=(const HotkeyRegistration&) = delete;

    // Registers every value that names a key with one or two modifiers (the shortcut page shows
    // no other) with the owner window; failures are silent.
    void RegisterHotkeys(HWND owner, const std::int32_t (&values)[hotkeys::kCount]);
    // Unregisters every slot registration was attempted for.
    void UnregisterHotkeys();
    // The new values after the shortcut page saved them.
    void Reregister(const std::int32_t (&values)[hotkeys::kCount]);

    const std::array<std::uint16_t, hotkeys::kCount>& slots() const { return slots_; }

  private:
    HWND owner_ = nullptr;
    std::array<std::uint16_t, hotkeys::kCount> slots_{};
};
