#include "tests/support/MessagePump.h"

#include <windows.h>

#include "framework/Wnd.h"

namespace testkit {

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        PumpMessages();
        if (std::chrono::steady_clock::now() >= deadline) {
            return done();
        }
        ::Sleep(5);
    }
    return true;
}

void RunMessageLoop() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        bool taken = false;
        for (HWND h = msg.hwnd; h != nullptr && !taken; h = ::GetParent(h)) {
            fw::CWnd* target = fw::CWnd::FromHandle(h);
            taken = target != nullptr && target->PreTranslateMessage(&msg) != FALSE;
        }
        if (!taken) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

}  // namespace testkit
