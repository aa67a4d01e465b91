// Changing the display mode on the real X server, and the settings broadcast that no hung
// program can hold up.
#include "display/ScreenMode.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace {

DEVMODEW CurrentMode() {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    ::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return mode;
}

TEST(ScreenMode, ResolutionChangeKeepsTheOtherValuesAndCanBeUndone) {
    const DEVMODEW before = CurrentMode();
    ASSERT_GT(before.dmPelsWidth, 0u);
    const int width = before.dmPelsWidth == 1024 ? 800 : 1024;
    const int height = width == 1024 ? 768 : 600;
    EXPECT_EQ(display::ChangeResolution(width, height), DISP_CHANGE_SUCCESSFUL);
    const DEVMODEW changed = CurrentMode();
    EXPECT_EQ(changed.dmPelsWidth, static_cast<DWORD>(width));
    EXPECT_EQ(changed.dmPelsHeight, static_cast<DWORD>(height));
    EXPECT_EQ(changed.dmBitsPerPel, before.dmBitsPerPel);
    // A mode the display does not offer leaves it as it is.
    EXPECT_NE(display::ChangeResolution(1234, 567), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(CurrentMode().dmPelsWidth, static_cast<DWORD>(width));
    EXPECT_EQ(display::ChangeResolution(static_cast<int>(before.dmPelsWidth),
                                        static_cast<int>(before.dmPelsHeight)),
              DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(CurrentMode().dmPelsWidth, before.dmPelsWidth);
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
