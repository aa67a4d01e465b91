#include "gpu/core/OverdriveSession.h"

#include "gpu/core/AtidlBackend.h"
#include "gpu/core/OverdriveDetection.h"

std::shared_ptr<OverdriveSession> OverdriveSession::Open(const DriverEntries& entries,
                                                         bool atidlLoaded) {
    auto session = std::make_shared<OverdriveSession>(Key(), entries);
    OverdriveProbe probe;
    probe.atidlAnswers = atidlLoaded && AtidlAnswers(session->entries_);
    if (!probe.atidlAnswers) {
        // The display library is asked only when ATIDL cannot serve the card: a machine that
        // ATIDL serves opens no context of the program's own.
        auto context = std::make_unique<AdlContext>(session->entries_);
        if (context->opened()) {
            probe.adl = QueryAdlOverdrive(*context);
            session->context_ = std::move(context);
        }
    }
    const OverdriveGeneration generation = ChooseOverdriveGeneration(probe);
    if (generation == OverdriveGeneration::Atidl) {
        session->backend_ = std::make_unique<AtidlBackend>(session->entries_);
    } else if (generation != OverdriveGeneration::None && session->context_ && probe.adl) {
        session->backend_ =
            MakeAdlOverdriveBackend(generation, *session->context_, probe.adl->adapterIndex);
    }
    return session;
}

OverdriveSession::~OverdriveSession() {
    backend_.reset();
    context_.reset();
}

OverdriveGeneration OverdriveSession::generation() const {
    return backend_ ? backend_->generation() : OverdriveGeneration::None;
}
