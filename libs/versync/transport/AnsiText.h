// The ANSI texts the program hands the update library, as wide text for the file functions.
#pragma once

#include <string>

// text in the system's ANSI code page as UTF-16; empty when it does not convert.
std::wstring WideFromAnsi(const std::string& text);

// The full path of the running program's executable; empty when it cannot be obtained.
std::wstring RunningProgramPath();
