#include "gpu/core/OverdriveDetection.h"

#include <mutex>
#include <vector>

#include "gpu/core/AdlOd5Backend.h"
#include "gpu/core/AdlOd6Backend.h"
#include "gpu/core/AdlOd8Backend.h"
#include "gpu/core/AdlOdnBackend.h"
#include "gpu/core/AdlSession.h"
#include "gpu/core/DriverOperations.h"
#include "gpu/core/OverdriveUnits.h"

using overdrive::Accepted;

OverdriveGeneration ChooseOverdriveGeneration(const OverdriveProbe& probe) {
    if (probe.atidlAnswers) {
        return OverdriveGeneration::Atidl;
    }
    if (!probe.adl || !probe.adl->supported || !probe.adl->enabled) {
        return OverdriveGeneration::None;
    }
    switch (probe.adl->version) {
        case kOverdriveVersion5:
            return OverdriveGeneration::Od5;
        case kOverdriveVersion6:
            return OverdriveGeneration::Od6;
        case kOverdriveVersionN:
            return OverdriveGeneration::OdN;
        case kOverdriveVersion8:
            return OverdriveGeneration::Od8;
        default:
            return OverdriveGeneration::None;
    }
}

bool AtidlAnswers(const DriverEntries& entries) {
    ADLODParameters params{};
    return DriverOperations(entries).GetOverdriveParameters(params);
}

namespace {

bool IsActive(AdlContext& context, int adapterIndex) {
    const DriverEntries& entries = context.entries();
    // Without the query every record counts as active.
    if (entries.ADL2_Adapter_Active_Get == nullptr) {
        return true;
    }
    int active = 0;
    return Accepted(entries.ADL2_Adapter_Active_Get(context.handle(), adapterIndex, &active)) &&
           active != 0;
}

}  // namespace

std::optional<AdlOverdriveAnswer> QueryAdlOverdrive(AdlContext& context) {
    const DriverEntries& entries = context.entries();
    if (!context.opened() || entries.ADL2_Adapter_NumberOfAdapters_Get == nullptr ||
        entries.ADL2_Adapter_AdapterInfo_Get == nullptr || entries.ADL2_Overdrive_Caps == nullptr) {
        return std::nullopt;
    }
    std::lock_guard<std::mutex> hold(context.lock());
    int count = 0;
    if (!Accepted(entries.ADL2_Adapter_NumberOfAdapters_Get(context.handle(), &count)) ||
        count < 1 || count > kMaxAdlAdapters) {
        return std::nullopt;
    }
    std::vector<AdapterInfo> adapters(static_cast<size_t>(count));
    if (!Accepted(entries.ADL2_Adapter_AdapterInfo_Get(
            context.handle(), adapters.data(), count * static_cast<int>(sizeof(AdapterInfo))))) {
        return std::nullopt;
    }
    for (const AdapterInfo& adapter : adapters) {
        if (adapter.iVendorID != kAdlAmdVendorId || !IsActive(context, adapter.iAdapterIndex)) {
            continue;
        }
        int supported = 0;
        int enabled = 0;
        int version = 0;
        if (Accepted(entries.ADL2_Overdrive_Caps(context.handle(), adapter.iAdapterIndex,
                                                 &supported, &enabled, &version))) {
            return AdlOverdriveAnswer{adapter.iAdapterIndex, supported != 0, enabled != 0, version};
        }
    }
    return std::nullopt;
}

std::unique_ptr<OverdriveBackend> MakeAdlOverdriveBackend(OverdriveGeneration generation,
                                                          AdlContext& context, int adapterIndex) {
    switch (generation) {
        case OverdriveGeneration::Od5:
            return std::make_unique<AdlOd5Backend>(context, adapterIndex);
        case OverdriveGeneration::Od6:
            return std::make_unique<AdlOd6Backend>(context, adapterIndex);
        case OverdriveGeneration::OdN:
            return std::make_unique<AdlOdnBackend>(context, adapterIndex);
        case OverdriveGeneration::Od8:
            return std::make_unique<AdlOd8Backend>(context, adapterIndex);
        case OverdriveGeneration::None:
        case OverdriveGeneration::Atidl:
            break;
    }
    return nullptr;
}
