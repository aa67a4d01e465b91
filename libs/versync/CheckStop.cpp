#include "libs/versync/CheckStop.h"

bool CheckStop::Requested() const {
    return ::WaitForSingleObject(event_.get(), 0) == WAIT_OBJECT_0;
}

void CheckStop::Request() {
    ::AcquireSRWLockExclusive(&lock_);
    ::SetEvent(event_.get());
    ::ReleaseSRWLockExclusive(&lock_);
}
