#include "sim/SimAdapters.h"

#include <algorithm>

namespace sim {

namespace {

constexpr int kAmdVendorId = 1002;

}  // namespace

SimAdapters::SimAdapters(const SimStore& store)
    : reportedCount_(store.GetInt("Adapters", "Count", 0)) {
    const int count = std::clamp(reportedCount_, 0, kMaxSimAdapters);
    for (int i = 0; i < count; ++i) {
        SimAdapter adapter;
        adapter.section = "Adapter" + std::to_string(i);
        adapter.index = store.GetInt(adapter.section, "Index", i);
        adapter.name = store.GetString(adapter.section, "Name");
        adapter.vendorId = store.GetInt(adapter.section, "VendorID", kAmdVendorId);
        adapter.active = store.GetInt(adapter.section, "Active", 1) != 0;
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

void FillAdapterInfo(const SimAdapters& adapters, AdapterInfo* info, int size) {
    const size_t room = static_cast<size_t>(size) / sizeof(AdapterInfo);
    const size_t count = std::min(room, adapters.adapters().size());
    for (size_t i = 0; i < count; ++i) {
        const SimAdapter& adapter = adapters.adapters()[i];
        AdapterInfo& record = info[i];
        record = AdapterInfo{};
        record.iSize = sizeof(AdapterInfo);
        record.iAdapterIndex = adapter.index;
        CopyText(record.strUDID,
                 "PCI_VEN_1002&DEV_9442&SUBSYS_00000000&REV_00_" + std::to_string(adapter.index));
        record.iBusNumber = 1;
        record.iFunctionNumber = static_cast<int32_t>(i);
        record.iVendorID = adapter.vendorId;
        CopyText(record.strAdapterName, adapter.name);
        CopyText(record.strDisplayName, "\\\\.\\DISPLAY" + std::to_string(adapter.index + 1));
        record.iPresent = 1;
        record.iExist = 1;
        record.iOSDisplayIndex = adapter.index;
    }
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
