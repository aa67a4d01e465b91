// The simulated card's state file and call log in the Wine prefix, and the lock that makes
// each entry point's read-modify-write of the state one step.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "sim/core/IniDocument.h"

namespace sim {

inline constexpr const char* kSimFolder = "C:\\velmora-sim";
inline constexpr const char* kStatePath = "C:\\velmora-sim\\state.ini";
inline constexpr const char* kCallLogPath = "C:\\velmora-sim\\calls.log";

// Holds the process-wide sim lock for its lifetime, loads the state (completing it from its
// scenario) and writes it back on destruction when anything changed.
class SimStore {
  public:
    SimStore();
    ~SimStore();
    SimStore(const SimStore&) = delete;
    SimStore& operator=(const SimStore&) = delete;

    int GetInt(std::string_view section, std::string_view key, int fallback) const;
    // Exactly `count` integers from a comma list; missing or bad items take `fallback`.
    std::vector<int> GetInts(std::string_view section, std::string_view key, size_t count,
                             int fallback = 0) const;
    int64_t GetInt64(std::string_view section, std::string_view key, int64_t fallback) const;
    std::string GetString(std::string_view section, std::string_view key) const;
    bool ListContains(std::string_view section, std::string_view key, std::string_view item) const;

    void SetInt(std::string_view section, std::string_view key, int value);
    void SetInt64(std::string_view section, std::string_view key, int64_t value);
    void SetInts(std::string_view section, std::string_view key, const std::vector<int>& values);

    // Whether the scenario refuses calls of this entry point.
    bool IsRefused(std::string_view entryName) const {
        return ListContains("Sim", "Refuse", entryName);
    }
    // How long a call of this entry point waits before it answers ([Sim] Stall lists
    // "name:milliseconds" pairs, up to a minute each); 0 when it is not listed.
    int StallMs(std::string_view entryName) const;
    // Waits StallMs(entryName), holding the state (and with it the sim lock).
    void StallIfListed(std::string_view entryName) const;
    // Whether the scenario answers successful calls of this entry point with a note (1).
    bool IsNoted(std::string_view entryName) const {
        return ListContains("Sim", "Note", entryName);
    }

  private:
    void SetText(std::string_view section, std::string_view key, const std::string& text);

    std::unique_lock<std::mutex> lock_;
    IniDocument doc_;
    bool dirty_ = false;
    int64_t started_ = 0;
};

// Reads the state file without the lock or completion; for the loader's attach step.
IniDocument ReadStateFile();

// Turns the call log on or off as the state's [Sim] Log says (off only for "0").
void FollowCallLogSwitch(const IniDocument& state);
// Appends one line to the call log, unless the last state read turned it off.
void AppendCallLog(std::string_view line);

// Microseconds this library has spent inside its entry points, state file and call log included.
int64_t TimeInCalls();

}  // namespace sim
