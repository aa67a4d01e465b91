// Changing the display mode with a way back: the system is asked first, the user is asked to
// keep the new mode, and anything but a yes puts the mode read before the change back whole.
// Rotation goes through the driver's entry when it has one (which cannot be asked first, so only
// the way back applies), else through the system's own orientation of the mode.
#pragma once

#include <functional>
#include <optional>

#include "display/ScreenMode.h"
#include "gpu/core/DriverEntries.h"

namespace display {

enum class ModeOutcome {
    Unchanged,  // the display already showed the choice, or there was nothing to set
    Kept,       // changed, and the user kept it
    Reverted,   // changed, and put back because the user did not keep it
    Refused,    // the system or the driver would not take it; nothing changed
};

// Asked while the new mode shows: true keeps it.
using KeepQuestion = std::function<bool()>;

class ModeSwitch {
  public:
    explicit ModeSwitch(DisplaySettingsApi& api) : api_(api) {}

    // Sets the category's choice (resolution, colour depth, refresh rate or rotation). A rotation
    // goes through `rotate` when it is given.
    ModeOutcome Apply(int category, int index, AtidlSetRotationAngleFn rotate,
                      const KeepQuestion& keep);

  private:
    ModeOutcome ChangeThroughSystem(int category, int index, const KeepQuestion& keep);
    ModeOutcome RotateThroughDriver(int code, AtidlSetRotationAngleFn rotate,
                                    const KeepQuestion& keep);
    // Puts the mode read before a change back when the display no longer shows it.
    void RestoreIfChanged(const DEVMODEW& before);

    DisplaySettingsApi& api_;
    // The rotation code the driver last took from this program and kept; nothing when unknown.
    std::optional<int> lastRotation_;
};

}  // namespace display
