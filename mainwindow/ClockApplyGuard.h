// The way back from saved clocks that bring the machine down. The apply-and-exit start writes
// the saved clocks at every log-on; it leaves a marker before the write and removes it once the
// driver call returned. A marker found at the next such start means the last write never
// returned: that start writes no clocks, and removes the marker so that the one after tries
// again.
#pragma once

#include <string>

class ClockApplyGuard {
  public:
    // The marker is a value under HKEY_CURRENT_USER\<subKey>.
    explicit ClockApplyGuard(std::wstring subKey = L"Software\\Velmora");

    // True when a previous write left its marker behind.
    bool Pending() const;
    // Leaves the marker; false when it could not be written.
    bool Arm() const;
    // Removes the marker (nothing to do when there is none).
    void Clear() const;

  private:
    std::wstring subKey_;
};
