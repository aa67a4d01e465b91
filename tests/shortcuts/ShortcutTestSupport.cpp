#include "tests/shortcuts/ShortcutTestSupport.h"

#include "tests/support/MessagePump.h"

namespace shortcuttest {

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
    ::GetKeyboardState(saved_);
    BYTE state[256] = {};
    for (int key : keys) {
        state[key & 0xFF] = 0x80;
    }
    ::SetKeyboardState(state);
}

HeldKeys::~HeldKeys() {
    ::SetKeyboardState(saved_);
}

void PressKey(HWND target, WPARAM key, std::initializer_list<int> held) {
    HeldKeys keys(held);
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    testkit::RunMessageLoop();
}

}  // namespace shortcuttest
