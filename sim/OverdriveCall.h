// A call of an ADL2 Overdrive entry point of one generation: its line starts with the context's
// name and the adapter index, and its checks are the ones every call of the generation shares.
#pragma once

#include <cstdint>

#include "gpu/core/DriverEntries.h"
#include "sim/AdlContexts.h"
#include "sim/SimCall.h"

namespace sim {

class OverdriveCall : public SimCall {
  public:
    // `version`: the Overdrive version of the entry point's generation (OverdriveN is 7).
    template <typename... Arguments>
    OverdriveCall(const char* name, int version, AdlContextHandle handle, int adapter,
                  const Arguments&... arguments)
        : SimCall(name, ContextName(handle), adapter, arguments...),
          version_(version),
          handle_(handle),
          adapter_(adapter) {}

    // CheckOverdriveCall's checks, then the pointers the call needs (kNullPointer without them).
    int Check(bool pointersGiven = true) const {
        const int check = CheckOverdriveCall(store(), name(), handle_, adapter_, version_);
        if (check != kOk) {
            return check;
        }
        return pointersGiven ? kOk : kNullPointer;
    }
    // Check for a call that takes a sized record: given, and of exactly `expectedSize` bytes.
    template <typename Record>
    int CheckRecord(const Record* record, int32_t expectedSize) const {
        const int check = Check(record != nullptr);
        if (check != kOk) {
            return check;
        }
        return record->iSize == expectedSize ? kOk : kInvalidParameter;
    }

  private:
    int version_;
    AdlContextHandle handle_;
    int adapter_;
};

}  // namespace sim
