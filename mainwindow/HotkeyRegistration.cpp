#include "mainwindow/HotkeyRegistration.h"

#include "shortcuts/core/HotKeyValue.h"

void HotkeyRegistration::RegisterHotkeys(HWND owner,
                                         const std::int32_t (&values)[hotkeys::kCount]) {
    owner_ = owner;
    for (std::size_t i = 0; i < hotkeys::kTable.size(); ++i) {
        // Only what the shortcut page can show is registered, with exactly those modifiers:
        // never a bare key, whatever the file holds.
        const shortcuts::HotKeyValue value = shortcuts::BoundHotKey(values[i]);
        if (value == 0) {
            continue;
        }
        const int id = hotkeys::kTable[i].id;
        slots_[i] = static_cast<std::uint16_t>(id);
        ::RegisterHotKey(owner, id, shortcuts::RegisterModifiers(value), shortcuts::KeyOf(value));
    }
}

void HotkeyRegistration::UnregisterHotkeys() {
    for (std::uint16_t id : slots_) {
        if (id != 0) {
            ::UnregisterHotKey(owner_, id);
        }
    }
}

void HotkeyRegistration::Reregister(const std::int32_t (&values)[hotkeys::kCount]) {
    UnregisterHotkeys();
    RegisterHotkeys(owner_, values);
}
