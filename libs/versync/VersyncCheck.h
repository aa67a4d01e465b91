// One update check: fetch the signed manifest, believe it only when the embedded key signed it,
// keep it as the configuration file and start the updater when it offers a newer version.
#pragma once

#include "libs/versync/core/VersyncSettings.h"

#include <windows.h>

enum class CheckOutcome {
    NotConfigured,   // a setting is missing: nothing was asked
    FetchFailed,     // no answer, an error, a timeout or a cut or overlong body
    Stopped,         // UCStopVersync: nothing was written or started
    Rejected,        // a bad signature, a manifest that does not parse or names another product
    UpToDate,        // the same or an older version, or the program's own version is unknown
    UpdaterStarted,  // a newer version: the updater is running
    UpdaterFailed,   // a newer version, but the updater could not be started
};

// Runs one check with these settings. stop (may be null) ends it early, at the latest when the
// exchange in progress ends; after it is set nothing is written or started.
CheckOutcome RunVersyncCheck(const VersyncSettings& settings, HANDLE stop);
