// The card's Overdrive for one run of the program: a copy of the driver's entry table, the
// program's own display-library context when a generation of the display library serves the
// card, and the backend chosen once from what the libraries answered. Shared by the driver
// binding and the hardware collector's thread, so that neither outlives what it calls into.
#pragma once

#include <memory>

#include "gpu/core/AdlContext.h"
#include "gpu/core/DriverEntries.h"
#include "gpu/core/OverdriveBackend.h"

class OverdriveSession {
  public:
    // Probes the libraries and chooses the backend: the ATIDL library when it is loaded and
    // answers, otherwise the display library's generation for the first AMD adapter when
    // Overdrive is supported and enabled there; no backend otherwise.
    static std::shared_ptr<OverdriveSession> Open(const DriverEntries& entries, bool atidlLoaded);

    // Only Open makes sessions.
    class Key {
        friend class OverdriveSession;
        Key() = default;
    };
    OverdriveSession(Key, const DriverEntries& entries) : entries_(entries) {}
    OverdriveSession(const OverdriveSession&) = delete;
    OverdriveSession& operator=(const OverdriveSession&) = delete;
    // The backend first, then the context it calls in.
    ~OverdriveSession();

    OverdriveGeneration generation() const;
    // Null when the card offers no usable Overdrive.
    OverdriveBackend* backend() const { return backend_.get(); }
    // The session's own copy of the entry table.
    const DriverEntries& entries() const { return entries_; }

  private:

    DriverEntries entries_;
    std::unique_ptr<AdlContext> context_;
    std::unique_ptr<OverdriveBackend> backend_;
};
