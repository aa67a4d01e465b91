// Paths in the form the update library takes them: ANSI text in the system's code page.
#pragma once

#include <string>

// path as ANSI text that names the same file: the path itself when it converts to the ANSI code
// page and back unchanged (within MAX_PATH bytes), else its short form when that does; empty
// when neither does (a name outside the code page on a volume without short names). A "?" or a
// best-fit look-alike is never returned: either may name another, existing path.
std::string AnsiPathForLibrary(const std::wstring& path);
