// Helpers for Windows tests against the simulated adapter installed in the prefix: its state
// file and call log, hiding its libraries from system32, and loading the driver binding while
// watching for (and dismissing) the message box it may show (tests/support/MessageBoxes.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "gpu/DriverBinding.h"
#include "gpu/core/DriverOperations.h"

namespace simtest {

// The ATIDL library's operations on the bound table, in the driver's own units.
inline DriverOperations Atidl() {
    return DriverOperations(DriverBinding::Entries());
}

// Removes the state file and the call log, then writes [Sim] Scenario (and nothing else) so the
// simulated card starts as that scenario describes.
void ResetSim(const std::string& scenario = "Default");
// Reads and writes one key of the state file.
std::string GetSimKey(const std::string& section, const std::string& key);
void SetSimKey(const std::string& section, const std::string& key, const std::string& value);

// The call log's lines, oldest first.
std::vector<std::string> CallLog();
void ClearCallLog();
// The log's lines that begin with `prefix`.
std::vector<std::string> CallLogLines(const std::string& prefix);

// Moves a library out of system32 for the object's lifetime and puts it back afterwards.
class HiddenSystemDll {
  public:
    explicit HiddenSystemDll(const std::wstring& name);
    ~HiddenSystemDll();
    HiddenSystemDll(const HiddenSystemDll&) = delete;
    HiddenSystemDll& operator=(const HiddenSystemDll&) = delete;

    bool hidden() const { return hidden_; }

  private:
    std::wstring path_;
    bool hidden_ = false;
};

// Puts back any library an interrupted earlier run left hidden.
void RestoreHiddenSystemDlls();


}  // namespace simtest
