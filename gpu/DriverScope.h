// The driver libraries bound for one scope: the main window holds one ahead of its pages, so the
// entry table is filled before any page exists and emptied only after the last page is gone.
#pragma once

class DriverScope {
  public:
    // Loads the driver libraries (a library that cannot be loaded shows the one message box).
    DriverScope();
    // Empties the entry table and frees the libraries.
    ~DriverScope();
    DriverScope(const DriverScope&) = delete;
    DriverScope& operator=(const DriverScope&) = delete;
};
