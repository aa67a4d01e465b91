// The driver libraries bound for one scope: the main window holds one ahead of its pages, so the
// entry table is filled before any page exists and emptied only after the last page is gone.
#pragma once

#include "gpu/DriverBinding.h"

class DriverScope {
  public:
    // Loads the driver libraries and keeps what the load found.
    DriverScope();
    // Empties the entry table and frees the libraries.
    ~DriverScope();
    DriverScope(const DriverScope&) = delete;
    DriverScope& operator=(const DriverScope&) = delete;

    const DriverLoad& load() const { return load_; }

  private:
    DriverLoad load_;
};
