// The stop of one check, shared by the thread that runs it and by UCStopVersync.
//
// The event wakes every wait of the check. The check's last act (keeping the manifest and
// starting the updater) runs as one step against it: a stop either comes first, and the step
// never runs, or waits until the step has ended. No stop falls between the last look at the
// event and the writes.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

class CheckStop {
  public:
    CheckStop() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    CheckStop(const CheckStop&) = delete;
    CheckStop& operator=(const CheckStop&) = delete;

    // False when the event could not be made; such a stop cannot be used.
    bool valid() const { return static_cast<bool>(event_); }
    // Set once the stop is requested.
    HANDLE event() const { return event_.get(); }
    bool Requested() const;

    // Sets the stop. A step in progress ends first (it is local work: a file and a process
    // start, never a wait on the server); no step starts afterwards.
    void Request();

    // Sets the stop without waiting for a step: for the library's unload routine, which runs
    // only when no check holds the library (so no step can be in progress).
    void RequestWithoutWaiting() { ::SetEvent(event_.get()); }

    // Runs step unless the stop has been requested. True when it ran.
    template <typename Step>
    bool RunUnlessRequested(Step step) {
        ::AcquireSRWLockExclusive(&lock_);
        const bool run = !Requested();
        if (run) {
            step();
        }
        ::ReleaseSRWLockExclusive(&lock_);
        return run;
    }

  private:
    fw::KernelHandle event_;
    SRWLOCK lock_ = SRWLOCK_INIT;
};
