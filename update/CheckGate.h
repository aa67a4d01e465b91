// The gate of the update check started with the program. The check's thread waits behind it
// before it loads the identity library, looks the server up and hands over to the update library,
// so that none of that competes with the main window's first frame and its pages. The main window
// opens it once they are made; a gate nobody opens holds the check up for kCheckGateWaitMs at most.
#pragma once

#include <windows.h>

inline constexpr DWORD kCheckGateWaitMs = 5000;

// The process's gate, made on first use (closed until opened). nullptr when no event could be
// made: a check then waits for nothing.
HANDLE UpdateCheckGate();

// Lets a check waiting behind the gate go on, now and for every later check.
void OpenUpdateCheckGate();
