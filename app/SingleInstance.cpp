#include "app/SingleInstance.h"

bool SingleInstance::Claim(const wchar_t* mutexName, const wchar_t* windowClass) {
    ::SetLastError(ERROR_SUCCESS);
    mutex_.reset(::CreateMutexW(nullptr, FALSE, mutexName));
    const bool alreadyRunning = ::GetLastError() == ERROR_ALREADY_EXISTS;
    HWND running = ::FindWindowW(windowClass, nullptr);
    if (alreadyRunning) {
        if (running != nullptr) {
            // SW_RESTORE also shows a window hidden in the tray.
            ::ShowWindow(running, SW_RESTORE);
            ::SetForegroundWindow(running);
        }
        return false;
    }
    return running == nullptr;
}
