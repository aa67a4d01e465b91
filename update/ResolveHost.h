// Name lookup of the update server.
#pragma once

#include <string>

// Windows Sockets for one scope (reference-counted by the system, so sessions may nest).
class WinsockSession {
  public:
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

    bool started() const { return started_; }

  private:
    bool started_ = false;
};

// Looks the host up and stores its first IPv4 address as dotted text in address. On failure
// address is left as it was. Needs Windows Sockets started.
bool ResolveHost(const char* host, std::string& address);
