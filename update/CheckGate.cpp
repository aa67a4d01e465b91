#include "update/CheckGate.h"

#include "framework/Handles.h"

HANDLE UpdateCheckGate() {
    // Manual reset: once open, it stays open. Lives until the process ends; a waiting check holds
    // a duplicate of its own.
    static const fw::KernelHandle gate(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    return gate.get();
}

void OpenUpdateCheckGate() {
    if (HANDLE gate = UpdateCheckGate()) {
        ::SetEvent(gate);
    }
}
