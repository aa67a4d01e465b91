// What the start-up benchmarks share: a millisecond clock and the search for a process's first
// visible top-level window of a class (the first presented frame of a layered window).
#pragma once

#include <windows.h>

namespace bench {

inline double NowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline HWND VisibleWindowOf(const wchar_t* className, DWORD pid) {
    for (HWND hwnd = ::FindWindowW(className, nullptr); hwnd != nullptr;
         hwnd = ::FindWindowExW(nullptr, hwnd, className, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner == pid && ::IsWindowVisible(hwnd)) {
            return hwnd;
        }
    }
    return nullptr;
}

}  // namespace bench
