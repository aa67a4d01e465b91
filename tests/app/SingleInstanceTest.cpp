// The single-instance rule with real mutexes and windows, under names of this test.
#include "app/SingleInstance.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SingleInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::wstring suffix =
            std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(counter_++);
        mutexName_ = L"VELMORA_TEST_MUTEX_" + suffix;
        className_ = L"VELMORA_TEST_CLASS_" + suffix;
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = className_.c_str();
        ASSERT_NE(::RegisterClassW(&wc), 0);
    }
    void TearDown() override {
        if (window_ != nullptr) {
            ::DestroyWindow(window_);
        }
        ::UnregisterClassW(className_.c_str(), ::GetModuleHandleW(nullptr));
    }
    HWND CreateTestWindow(int show) {
        window_ =
            ::CreateWindowExW(0, className_.c_str(), L"first instance", WS_OVERLAPPEDWINDOW, 10, 10,
                              200, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::ShowWindow(window_, show);
        return window_;
    }

    static inline int counter_ = 0;
    std::wstring mutexName_;
    std::wstring className_;
    HWND window_ = nullptr;
};

TEST_F(SingleInstanceTest, SecondStartShowsTheHiddenFirstWindowAndEnds) {
    SingleInstance first;
    ASSERT_TRUE(first.Claim(mutexName_.c_str(), className_.c_str()));
    HWND window = CreateTestWindow(SW_HIDE);
    ASSERT_FALSE(::IsWindowVisible(window));

    SingleInstance second;
    EXPECT_FALSE(second.Claim(mutexName_.c_str(), className_.c_str()));
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_FALSE(::IsIconic(window));
}

TEST_F(SingleInstanceTest, SecondStartRestoresAMinimisedFirstWindow) {
    SingleInstance first;
    ASSERT_TRUE(first.Claim(mutexName_.c_str(), className_.c_str()));
    HWND window = CreateTestWindow(SW_SHOWMINIMIZED);
    ASSERT_TRUE(::IsIconic(window));
    SingleInstance second;
    EXPECT_FALSE(second.Claim(mutexName_.c_str(), className_.c_str()));
    EXPECT_FALSE(::IsIconic(window));
}

TEST_F(SingleInstanceTest, SecondStartEndsEvenWhenTheFirstHasNoWindowYet) {
    SingleInstance first;
    ASSERT_TRUE(first.Claim(mutexName_.c_str(), className_.c_str()));
    SingleInstance second;
    EXPECT_FALSE(second.Claim(mutexName_.c_str(), className_.c_str()));
}

TEST_F(SingleInstanceTest, WindowWithoutMutexRefusesTheStartAndIsLeftAlone) {
    HWND window = CreateTestWindow(SW_HIDE);
    SingleInstance instance;
    EXPECT_FALSE(instance.Claim(mutexName_.c_str(), className_.c_str()));
    EXPECT_FALSE(::IsWindowVisible(window));
}

TEST_F(SingleInstanceTest, ReleasedMutexLetsTheNextStartRun) {
    SingleInstance first;
    ASSERT_TRUE(first.Claim(mutexName_.c_str(), className_.c_str()));
    first.Release();
    SingleInstance next;
    EXPECT_TRUE(next.Claim(mutexName_.c_str(), className_.c_str()));
}

}  // namespace
