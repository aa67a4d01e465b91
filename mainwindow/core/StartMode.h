// How the main window starts: shown, minimised, in the tray only, or applying the saved hardware
// settings and ending without ever being shown. The application reads it from the command line.
#pragma once

#include <cstdint>

enum class StartMode : std::int32_t {
    Normal = 1,        // no switch, or one that is not recognised
    Minimized = 2,     // "/Min"
    TrayOnly = 3,      // "/MinTray"
    ApplyAndExit = 4,  // "/Apply_Exit"
};
