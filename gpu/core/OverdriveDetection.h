// Which Overdrive backend a machine gets: chosen once, from what the driver libraries answer.
#pragma once

#include <memory>
#include <optional>

#include "gpu/core/AdlContext.h"
#include "gpu/core/OverdriveBackend.h"

// The display library's Overdrive answer for one adapter (ADL2_Overdrive_Caps).
struct AdlOverdriveAnswer {
    int adapterIndex = 0;
    bool supported = false;
    bool enabled = false;
    int version = 0;
};

struct OverdriveProbe {
    // The ATIDL library is loaded and its Overdrive parameters query succeeds.
    bool atidlAnswers = false;
    // The answer for the first active AMD adapter, when the display library gave one.
    std::optional<AdlOverdriveAnswer> adl;
};

// ATIDL first, as before, when it answers; otherwise the version the display library reports
// for the first AMD adapter, when Overdrive is supported and enabled there. None otherwise:
// the card offers no Overdrive, it is disabled in the driver, or its version is unknown.
OverdriveGeneration ChooseOverdriveGeneration(const OverdriveProbe& probe);

// Whether ATIDL_GetODParameters answers with a usable level count.
bool AtidlAnswers(const DriverEntries& entries);

// The Overdrive answer of the first adapter record, in ADL's order, that belongs to AMD (vendor
// 1002), is active and answers the query. One card may appear as several adapter records: the
// first that answers speaks for it.
std::optional<AdlOverdriveAnswer> QueryAdlOverdrive(AdlContext& context);

// The backend for an ADL generation on that adapter; null for None and Atidl, which the
// driver binding serves itself.
std::unique_ptr<OverdriveBackend> MakeAdlOverdriveBackend(OverdriveGeneration generation,
                                                          AdlContext& context, int adapterIndex);
