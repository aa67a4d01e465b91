#include "sim/SimAdapters.h"

#include <algorithm>

namespace sim {

SimAdapters::SimAdapters(const SimStore& store)
    : reportedCount_(store.GetInt("Adapters", "Count", 0)) {
    const int count = std::clamp(reportedCount_, 0, kMaxSimAdapters);
    for (int i = 0; i < count; ++i) {
        SimAdapter adapter;
        adapter.section = "Adapter" + std::to_string(i);
        adapter.index = store.GetInt(adapter.section, "Index", i);
        adapter.name = store.GetString(adapter.section, "Name");
        adapter.reportedDisplays = store.GetInt(adapter.section, "Displays", 0);
        adapter.nullBuffer = store.GetInt(adapter.section, "NullBuffer", 0) != 0;
        const int displays = std::clamp(adapter.reportedDisplays, 0, kMaxSimDisplays);
        for (int j = 0; j < displays; ++j) {
            SimDisplay display;
            display.section = adapter.section + ".Display" + std::to_string(j);
            display.logicalIndex = store.GetInt(display.section, "LogicalIndex", j);
            display.logicalAdapterIndex =
                store.GetInt(display.section, "LogicalAdapterIndex", adapter.index);
            display.connected = store.GetInt(display.section, "Connected", 0) != 0;
            display.mapped = store.GetInt(display.section, "Mapped", 0) != 0;
            display.caps = store.GetInt(display.section, "Caps", 0);
            display.valid = store.GetInt(display.section, "Valid", 0);
            adapter.displays.push_back(display);
        }
        adapters_.push_back(adapter);
    }
}

const SimAdapter* SimAdapters::FindAdapter(int adapterIndex) const {
    for (const SimAdapter& adapter : adapters_) {
        if (adapter.index == adapterIndex) {
            return &adapter;
        }
    }
    return nullptr;
}

const SimDisplay* SimAdapters::FindDisplay(int adapterIndex, int displayIndex) const {
    if (const SimAdapter* adapter = FindAdapter(adapterIndex)) {
        for (const SimDisplay& display : adapter->displays) {
            if (display.logicalIndex == displayIndex) {
                return &display;
            }
        }
    }
    return nullptr;
}

std::optional<std::string> ColorKey(int colorType) {
    if (colorType == 1) {
        return "Brightness";
    }
    if (colorType == 2) {
        return "Contrast";
    }
    return std::nullopt;
}

}  // namespace sim
