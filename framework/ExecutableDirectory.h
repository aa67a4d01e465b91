// The executable's own directory: where start-up sets the working directory, where the settings
// template, the hardware data file and the in-house libraries live.
#pragma once

#include <string>

namespace fw {

// The directory without a trailing backslash (except at a drive root, "C:\"); empty when the
// module path cannot be obtained.
std::wstring ExecutableDirectory();

// The same directory in the code page of the ANSI file functions, within the MAX_PATH bytes
// they take; empty when it is unknown or does not fit.
std::string ExecutableDirectoryAnsi();

// "<executable directory><relativePath>", where relativePath starts with a backslash (a drive
// root's own backslash is not doubled); empty when the directory is unknown.
std::wstring PathNextToExecutable(const wchar_t* relativePath);

}  // namespace fw
