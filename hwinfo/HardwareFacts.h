// The hardware page's facts, shared between the page and its collector thread. The collector
// completes every row before it publishes them; the page reads rows only after it has seen them
// published. Either side may outlive the other.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>

#include "hwinfo/core/HardwareRows.h"

namespace hwinfo {

// Posted to the page's window when the facts are published: the page shows them on its own
// thread.
constexpr UINT kFactsReadyMessage = WM_APP + 0x51;

class HardwareFacts {
  public:
    // Collector: stores the rows, marks them ready and tells the page window, if there is one
    // yet. Call once.
    void Publish(Rows rows);

    // Page: true once the rows are published.
    [[nodiscard]] bool ready() const { return ready_.load(std::memory_order_acquire); }
    // Page: the rows; only meaningful once ready() is true.
    [[nodiscard]] const Rows& rows() const { return rows_; }
    // Page: from now on a publication is posted to `window`. True when the rows were published
    // before: nothing will be posted, the page shows them itself.
    [[nodiscard]] bool AttachWindow(HWND window);
    // Page: the window is going away; nothing is posted to it any more.
    void DetachWindow();

  private:
    Rows rows_;
    std::atomic<bool> ready_{false};
    // Pairs the window hand-over with the publication, so exactly one side sees the other.
    std::mutex windowLock_;
    HWND window_ = nullptr;
};

}  // namespace hwinfo
