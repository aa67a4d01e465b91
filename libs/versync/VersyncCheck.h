// One update check: fetch the signed manifest, believe it only when the embedded key signed it,
// keep it as the configuration file and start the updater when it offers a newer version.
#pragma once

#include "libs/versync/CheckStop.h"
#include "libs/versync/core/VersyncSettings.h"

enum class CheckOutcome {
    NotConfigured,   // a setting is missing: nothing was asked
    NoKey,           // the library was built without a key: no manifest is believed or asked for
    FetchFailed,     // no answer, an error, a timeout or a cut or overlong body
    Stopped,         // UCStopVersync: nothing was written or started
    Rejected,        // a bad signature, a manifest that does not parse or names another product
    UpToDate,        // the same or an older version, or the program's own version is unknown
    UpdaterStarted,  // a newer version: the updater is running
    UpdaterFailed,   // a newer version, but the updater could not be started
};

// Runs one check with these settings. The stop ends it at once, whatever the server is doing;
// once it is requested nothing is written or started (see CheckStop).
CheckOutcome RunVersyncCheck(const VersyncSettings& settings, CheckStop& stop);
