// GdiplusStartup/GdiplusShutdown for one scope.
#pragma once

#include <windows.h>

#include <cstdint>

namespace fw {

class GdiplusSession {
  public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool started() const { return token_ != 0; }
    // Ends the session early (for a caller that must shut GDI+ down before other work).
    void shutdown();

  private:
    ULONG_PTR token_ = 0;
};

}  // namespace fw
