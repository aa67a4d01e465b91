// Windows Sockets 2.2 for the update check. The system counts start-ups, so they may nest; each
// successful start is matched by one stop.
#pragma once

// True when the sockets library started; only then is StopWinsock due.
[[nodiscard]] bool StartWinsock();
void StopWinsock();

// Windows Sockets for one scope.
class WinsockSession {
  public:
    WinsockSession() : started_(StartWinsock()) {}
    ~WinsockSession() {
        if (started_) {
            StopWinsock();
        }
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

    [[nodiscard]] bool started() const { return started_; }

  private:
    bool started_;
};
