// The simulated adapters and displays as ADL reports them, read from the state file.
#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "gpu/core/DriverRecords.h"
#include "sim/SimStore.h"

namespace sim {

// At most this many adapters and displays per adapter exist, whatever counts a hostile
// scenario makes the driver report.
inline constexpr int kMaxSimAdapters = 16;
inline constexpr int kMaxSimDisplays = 8;

struct SimDisplay {
    std::string section;  // "Adapter<i>.Display<j>"
    int logicalIndex;
    int logicalAdapterIndex;
    bool connected;
    bool mapped;
    int caps;
    int valid;
};

struct SimAdapter {
    std::string section;  // "Adapter<i>"
    int index;
    std::string name;
    int vendorId;  // as ADL reports it: the decimal number 1002 for AMD
    bool active;
    int reportedDisplays;
    bool nullBuffer;
    std::vector<SimDisplay> displays;
};

class SimAdapters {
  public:
    explicit SimAdapters(const SimStore& store);

    int reportedCount() const { return reportedCount_; }
    const std::vector<SimAdapter>& adapters() const { return adapters_; }

    const SimAdapter* FindAdapter(int adapterIndex) const;
    const SimDisplay* FindDisplay(int adapterIndex, int displayIndex) const;

  private:
    int reportedCount_;
    std::vector<SimAdapter> adapters_;
};

// Copies a text into a fixed ADL text field, cut to fit with its terminator.
template <size_t N>
void CopyText(char (&target)[N], const std::string& text) {
    const size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

// Fills `info` with as many of the adapters as `size` bytes hold (AdapterInfo records).
void FillAdapterInfo(const SimAdapters& adapters, AdapterInfo* info, int size);

// The state key of an ADL colour type: "Brightness" (1), "Contrast" (2), or none.
std::optional<std::string> ColorKey(int colorType);

}  // namespace sim
