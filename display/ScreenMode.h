// The primary display's mode through the system's display settings, and the broadcast that
// tells every top-level window that the desktop's settings changed.
#pragma once

#include <windows.h>

#include <optional>

#include "display/core/ModeChange.h"

namespace display {

// The system's display-settings calls for the primary display. Tests give a stand-in.
class DisplaySettingsApi {
  public:
    virtual ~DisplaySettingsApi() = default;
    // The current mode, or nothing when the system gives none.
    virtual std::optional<DEVMODEW> CurrentMode();
    // ChangeDisplaySettingsW with these flags (0 for a dynamic change, not stored in the
    // registry; CDS_TEST to ask only whether the mode would be taken).
    virtual LONG Change(const DEVMODEW& mode, DWORD flags);
};

// The values a change may touch; an orientation the mode does not name counts as upright.
ModeValues ValuesOf(const DEVMODEW& mode);
// The current mode with the request's values set and only its fields named.
DEVMODEW Requested(const DEVMODEW& current, const ModeRequest& request);
// A mode read before a change, naming every value a change may touch so that all come back.
DEVMODEW Restorable(const DEVMODEW& before);

// WM_WININICHANGE (0, 0) to every top-level window, waiting a bounded time for each: a program
// that does not answer cannot hold this one up.
void BroadcastSettingChange();

}  // namespace display
