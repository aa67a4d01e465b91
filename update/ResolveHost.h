// Name lookup of the update server.
#pragma once

#include <string>

// Looks the host up and stores its first IPv4 address as dotted text in address. On failure
// address is left as it was. Needs Windows Sockets started.
bool ResolveHost(const char* host, std::string& address);
