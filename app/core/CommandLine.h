// How the program was asked to start: the one command-line switch.
#pragma once

#include <string_view>

#include "mainwindow/core/StartMode.h"

// Set once by start-up from the command line, read by the main window when it initialises.
extern StartMode g_startMode;

// The start mode a complete command line asks for. The switch is a "/" after the program name
// (the first token, quoted or not) followed by exactly one of the option texts, compared without
// regard to ASCII letter case; anything after the option (a blank, a further argument) makes it
// unrecognised.
StartMode ParseStartMode(std::wstring_view commandLine);
