// The main window's class, "TALVANE_DLG": a copy of the system dialog class under our name,
// so that a second instance can find the first one's window by class name.
#pragma once

#include <windows.h>

inline constexpr wchar_t kMainWindowClass[] = L"TALVANE_DLG";

// Registers the class; false when registration failed (start-up goes on regardless).
bool RegisterMainWindowClass(HINSTANCE instance);
