// Changing the display mode on the real X server with a way back, and the settings broadcast
// that no hung program can hold up.
#include "display/ScreenMode.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "display/ModeSwitch.h"
#include "display/core/DisplayModes.h"

namespace {

using display::ModeOutcome;
using display::ValuesOf;

TEST(ScreenMode, ChangesOnTheRealDisplayAreAskedFirstAndComeBackWholeWithoutAYes) {
    display::DisplaySettingsApi api;
    display::ModeSwitch modes(api);
    const std::optional<DEVMODEW> before = api.CurrentMode();
    ASSERT_TRUE(before);
    const display::ModeValues start = ValuesOf(*before);
    const int index = start.width == 1024 ? 9 : 8;  // 800x600 or 1024x768
    display::ModeValues seen{};
    const auto lookAndSayNo = [&] {
        seen = ValuesOf(*api.CurrentMode());
        return false;
    };

    EXPECT_EQ(modes.Apply(display::kResolution, index, nullptr, lookAndSayNo),
              ModeOutcome::Reverted);
    EXPECT_EQ(seen.width, static_cast<std::uint32_t>(display::ResolutionAt(index)->width));
    EXPECT_EQ(seen.bitsPerPixel, start.bitsPerPixel);
    EXPECT_EQ(ValuesOf(*api.CurrentMode()), start);

    // 100 Hz is not among the display's modes: the system says so before anything changes.
    const auto neverAsked = [] {
        ADD_FAILURE() << "a refused mode reached the question";
        return true;
    };
    EXPECT_EQ(modes.Apply(display::kRefreshRate, 3, nullptr, neverAsked), ModeOutcome::Refused);
    EXPECT_EQ(ValuesOf(*api.CurrentMode()), start);
}

constexpr wchar_t kListenerClass[] = L"VelmoraBroadcastListener";
std::atomic<int> g_settingChanges{0};

LRESULT CALLBACK ListenerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_WININICHANGE && wParam == 0 && lParam == 0) {
        ++g_settingChanges;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A top-level window on a thread of its own: one that answers, or one whose thread never looks
// at its messages again (a hung program).
class OtherThreadWindow {
  public:
    explicit OtherThreadWindow(bool answers) : answers_(answers) {
        thread_ = std::thread([this] { Run(); });
        ready_.get_future().wait();
    }
    ~OtherThreadWindow() {
        stop_ = true;
        if (hwnd_ != nullptr) {
            ::PostMessageW(hwnd_, WM_NULL, 0, 0);
        }
        thread_.join();
    }

  private:
    void Run() {
        hwnd_ = ::CreateWindowExW(0, kListenerClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
        ready_.set_value();
        MSG msg;
        while (!stop_) {
            if (!answers_) {
                ::Sleep(20);  // hung: nothing is dispatched
                continue;
            }
            if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::DispatchMessageW(&msg);
            } else {
                ::Sleep(5);
            }
        }
        ::DestroyWindow(hwnd_);
    }

    bool answers_;
    std::atomic<bool> stop_{false};
    HWND hwnd_ = nullptr;
    std::promise<void> ready_;
    std::thread thread_;
};

TEST(ScreenMode, BroadcastReachesAnsweringWindowsAndNeverWaitsForAHungOne) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ListenerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kListenerClass;
    ::RegisterClassW(&wc);
    OtherThreadWindow answering(true);
    OtherThreadWindow hung(false);
    g_settingChanges = 0;
    // Run on a worker: a broadcast that waited for the hung window would never come back.
    auto broadcast = std::async(std::launch::async, [] { display::BroadcastSettingChange(); });
    ASSERT_EQ(broadcast.wait_for(std::chrono::seconds(20)), std::future_status::ready)
        << "the broadcast is waiting for a hung window";
    for (int i = 0; i < 200 && g_settingChanges == 0; ++i) {
        ::Sleep(10);
    }
    EXPECT_GE(g_settingChanges.load(), 1);
}

}  // namespace
