#include "display/ModeSwitch.h"

#include "display/core/DisplayModes.h"

namespace display {
namespace {

// Every ATIDL call addresses the first adapter.
constexpr int kAdapter = 0;

bool Asked(const KeepQuestion& keep) {
    return keep && keep();
}

}  // namespace

ModeOutcome ModeSwitch::Apply(int category, int index, AtidlSetRotationAngleFn rotate,
                              const KeepQuestion& keep) {
    if (category == kRotation && rotate != nullptr) {
        return RotateThroughDriver(RotationCode(index), rotate, keep);
    }
    return ChangeThroughSystem(category, index, keep);
}

void ModeSwitch::RestoreIfChanged(const DEVMODEW& before) {
    const std::optional<DEVMODEW> now = api_.CurrentMode();
    if (!now || ValuesOf(*now) != ValuesOf(before)) {
        api_.Change(Restorable(before), 0);
    }
}

ModeOutcome ModeSwitch::ChangeThroughSystem(int category, int index, const KeepQuestion& keep) {
    const std::optional<DEVMODEW> before = api_.CurrentMode();
    if (!before) {
        return ModeOutcome::Refused;  // nothing to start from, nothing to go back to
    }
    const std::optional<ModeRequest> request = RequestFor(category, index, ValuesOf(*before));
    if (!request) {
        return ModeOutcome::Unchanged;
    }
    const DEVMODEW mode = Requested(*before, *request);
    if (api_.Change(mode, CDS_TEST) != DISP_CHANGE_SUCCESSFUL) {
        return ModeOutcome::Refused;
    }
    if (api_.Change(mode, 0) != DISP_CHANGE_SUCCESSFUL) {
        // A mode that passed the test may still fail half-way: whatever it left goes.
        RestoreIfChanged(*before);
        return ModeOutcome::Refused;
    }
    const std::optional<DEVMODEW> after = api_.CurrentMode();
    if (after && ValuesOf(*after) == ValuesOf(*before)) {
        return ModeOutcome::Unchanged;
    }
    if (Asked(keep)) {
        return ModeOutcome::Kept;
    }
    api_.Change(Restorable(*before), 0);
    return ModeOutcome::Reverted;
}

ModeOutcome ModeSwitch::RotateThroughDriver(int code, AtidlSetRotationAngleFn rotate,
                                            const KeepQuestion& keep) {
    const std::optional<DEVMODEW> before = api_.CurrentMode();
    const int previous =
        PreviousRotation(lastRotation_, before ? ValuesOf(*before).orientation : 0);
    const bool known = lastRotation_ == code;
    if (rotate(kAdapter, code) < 0) {
        return ModeOutcome::Refused;
    }
    // Only a rotation this program set and kept is known to be on screen already; any other
    // may have turned the screen.
    if (known) {
        return ModeOutcome::Unchanged;
    }
    if (Asked(keep)) {
        lastRotation_ = code;
        return ModeOutcome::Kept;
    }
    lastRotation_ = rotate(kAdapter, previous) >= 0 ? std::optional<int>(previous) : std::nullopt;
    if (before) {
        RestoreIfChanged(*before);
    }
    return ModeOutcome::Reverted;
}

}  // namespace display
