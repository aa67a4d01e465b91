// Helpers for Windows tests against the simulated adapter installed in the prefix: its state
// file and call log, hiding its libraries from system32, and loading the driver binding while
// watching for (and dismissing) the message box it may show.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
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

// Presses OK on every message box this process shows while the object lives, from a thread of
// its own, so that code showing a modal box can run on the test's thread.
class MessageBoxDismisser {
  public:
    MessageBoxDismisser();
    ~MessageBoxDismisser();
    MessageBoxDismisser(const MessageBoxDismisser&) = delete;
    MessageBoxDismisser& operator=(const MessageBoxDismisser&) = delete;

    // The texts of the boxes dismissed so far, oldest first.
    std::vector<std::wstring> Texts() const;

  private:
    void Watch();

    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::thread watcher_;
};

}  // namespace simtest
