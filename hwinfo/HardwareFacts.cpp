#include "hwinfo/HardwareFacts.h"

#include <utility>

namespace hwinfo {

void HardwareFacts::Publish(Rows rows) {
    rows_ = std::move(rows);
    std::lock_guard lock(windowLock_);
    ready_.store(true, std::memory_order_release);
    if (window_ != nullptr) {
        ::PostMessageW(window_, kFactsReadyMessage, 0, 0);
    }
}

bool HardwareFacts::AttachWindow(HWND window) {
    std::lock_guard lock(windowLock_);
    window_ = window;
    return ready_.load(std::memory_order_acquire);
}

void HardwareFacts::DetachWindow() {
    std::lock_guard lock(windowLock_);
    window_ = nullptr;
}

}  // namespace hwinfo
