// The single-instance rule: a named mutex marks the running instance; a second start brings the
// first instance's window forward (also out of the tray) and ends.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

inline constexpr wchar_t kInstanceMutexName[] = L"ZUL_TALVANE_SOFT";

class SingleInstance {
  public:
    SingleInstance() = default;

    // Creates the marker mutex. False when this process must end: another instance holds the
    // mutex (its window of windowClass, if found, is restored and activated) or, although the
    // mutex is new, a window of windowClass already exists (it is left alone).
    bool Claim(const wchar_t* mutexName, const wchar_t* windowClass);
    // Closes the marker mutex.
    void Release() { mutex_.reset(); }

  private:
    fw::KernelHandle mutex_;
};
