// How the program was asked to start: the one command-line switch.
#pragma once

#include <cstdint>
#include <string_view>

enum class StartMode : std::int32_t {
    Normal = 1,        // no switch, or one that is not recognised
    Minimized = 2,     // "/Min"
    TrayOnly = 3,      // "/MinTray"
    ApplyAndExit = 4,  // "/Apply_Exit"
};

// Set once by start-up from the command line, read by the main window when it initialises.
extern StartMode g_startMode;

// The start mode a complete command line asks for. The switch is a "/" after the program name
// (the first token, quoted or not) followed by exactly one of the option texts, compared without
// regard to ASCII letter case; anything after the option (a blank, a further argument) makes it
// unrecognised.
StartMode ParseStartMode(std::wstring_view commandLine);
