// Changing one value of the primary display's current mode, and telling every top-level window
// that the desktop's settings changed.
#pragma once

#include <windows.h>

namespace display {

// Each fills a mode from the current one, sets the one value with only its field flagged and
// asks for a dynamic change (not stored in the registry); the result of ChangeDisplaySettingsW.
LONG ChangeResolution(int width, int height);
LONG ChangeColourDepth(int bitsPerPixel);
LONG ChangeRefreshRate(int hertz);

// WM_WININICHANGE (0, 0) to every top-level window, waiting a bounded time for each: a program
// that does not answer cannot hold this one up.
void BroadcastSettingChange();

}  // namespace display
