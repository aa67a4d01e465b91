// Building a browser command line from a registered "open" command.
#pragma once

#include <string>

namespace velmora {

// Cuts the registered command at its quoted "%1" (or else a bare %1; else keeps it whole) and
// appends a blank and the address.
std::wstring BrowserCommandLine(const std::wstring& registered, const std::wstring& address);

}  // namespace velmora
