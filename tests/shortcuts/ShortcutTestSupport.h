// Shared pieces of the shortcut tests: held modifier keys and key presses run through the kit's
// modal-loop pump (tests/support/MessagePump.h).
#pragma once

#include <windows.h>

#include <initializer_list>

namespace shortcuttest {

// The thread's key state has these keys down for the object's life.
class HeldKeys {
  public:
    explicit HeldKeys(std::initializer_list<int> keys);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

  private:
    BYTE saved_[256] = {};
};

// Posts a key press to a window (as the system queues it) with these keys held, and runs it.
void PressKey(HWND target, WPARAM key, std::initializer_list<int> held = {});

}  // namespace shortcuttest
