// What the display library's Overdrive backends share: the context they call in, the adapter
// they address, and the lock each public operation holds for its whole sequence of calls.
#pragma once

#include <mutex>

#include "gpu/core/AdlContext.h"
#include "gpu/core/OverdriveBackend.h"

class AdlOverdriveBackend : public OverdriveBackend {
  protected:
    AdlOverdriveBackend(AdlContext& context, int adapterIndex)
        : context_(context), adapter_(adapterIndex) {}

    const DriverEntries& entries() const { return context_.entries(); }
    AdlContextHandle handle() const { return context_.handle(); }
    int adapter() const { return adapter_; }
    [[nodiscard]] std::unique_lock<std::mutex> Hold() {
        return std::unique_lock<std::mutex>(context_.lock());
    }

  private:
    AdlContext& context_;
    int adapter_;
};
