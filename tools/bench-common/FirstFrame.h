// What the start-up benchmarks share: a millisecond clock, starting a program, and the search
// for a process's first visible top-level window of a class (the first presented frame of a
// layered window).
#pragma once

#include <windows.h>

#include <string>

namespace bench {

inline double NowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Starts the program without arguments; false when it cannot be started.
inline bool StartProgram(const std::wstring& exe, PROCESS_INFORMATION& process) {
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    process = PROCESS_INFORMATION{};
    return ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process) != FALSE;
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
