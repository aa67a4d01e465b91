// The question after a display-mode change, answered the way a user can: keys and clicks reach
// its window from another thread while it runs its own loop, or no answer comes at all.
#include "display/KeepModeDlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "framework/GdiplusSession.h"
#include "skin/SkinImages.h"

namespace {

using Clock = std::chrono::steady_clock;

class SkinPictures : public ::testing::Environment {
  public:
    void SetUp() override {
        gdiplus_ = std::make_unique<fw::GdiplusSession>();
        LoadSkinImages();
    }
    void TearDown() override {
        ReleaseSkinImages();
        gdiplus_.reset();
    }

  private:
    std::unique_ptr<fw::GdiplusSession> gdiplus_;
};

[[maybe_unused]] ::testing::Environment* const g_pictures =
    ::testing::AddGlobalTestEnvironment(new SkinPictures);

// Waits (at most 5 s) on a thread of its own for the question to show, then acts on it.
class Answerer {
  public:
    explicit Answerer(std::function<void(HWND)> act)
        : thread_([this, act = std::move(act)] {
              const auto deadline = Clock::now() + std::chrono::seconds(5);
              HWND hwnd = nullptr;
              while (Clock::now() < deadline) {
                  hwnd = ::FindWindowW(CKeepModeDlg::kWindowClass, nullptr);
                  if (hwnd != nullptr && ::IsWindowVisible(hwnd)) {
                      break;
                  }
                  hwnd = nullptr;
                  ::Sleep(20);
              }
              shown = hwnd != nullptr;
              if (shown) {
                  act(hwnd);
              }
          }) {}
    ~Answerer() { thread_.join(); }

    std::atomic<bool> shown{false};

  private:
    std::thread thread_;
};

void Click(HWND hwnd, int x, int y) {
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void ClickBox(HWND hwnd, const display::KeepBox& box) {
    Click(hwnd, box.x + box.width / 2, box.y + box.height / 2);
}

void PressKey(HWND hwnd, WPARAM key) {
    ::PostMessageW(hwnd, WM_KEYDOWN, key, 1);
    ::PostMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
}

// A layered owner, so that it goes away at once under Wine without a window manager.
struct Owner {
    Owner() {
        hwnd = ::CreateWindowExW(WS_EX_LAYERED, L"Static", L"owner", WS_POPUP | WS_VISIBLE, 0, 0,
                                 50, 50, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    ~Owner() { ::DestroyWindow(hwnd); }
    HWND hwnd;
};

TEST(KeepModeQuestion, TheKeepButtonKeepsWhileTheOwnerWaitsDisabled) {
    Owner owner;
    ASSERT_NE(owner.hwnd, nullptr);
    bool ownerEnabled = true;
    bool tookActivation = true;
    LONG_PTR exStyle = 0;
    RECT rect{};
    bool kept = false;
    {
        Answerer answerer([&](HWND hwnd) {
            ownerEnabled = ::IsWindowEnabled(owner.hwnd) != FALSE;
            GUITHREADINFO thread{};
            thread.cbSize = sizeof(thread);
            ::GetGUIThreadInfo(::GetWindowThreadProcessId(hwnd, nullptr), &thread);
            tookActivation = thread.hwndActive == hwnd || thread.hwndFocus == hwnd;
            exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
            ::GetWindowRect(hwnd, &rect);
            ClickBox(hwnd, display::kKeepButton);
        });
        CKeepModeDlg question(owner.hwnd);
        kept = question.AskToKeep();
        ASSERT_TRUE(answerer.shown);
    }
    EXPECT_TRUE(kept);
    EXPECT_FALSE(ownerEnabled);
    // An activated window would take two seconds to hide under Wine without a window manager.
    EXPECT_FALSE(tookActivation);
    EXPECT_TRUE(::IsWindowEnabled(owner.hwnd));
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(rect.right - rect.left, display::kKeepWidth);
    EXPECT_EQ(rect.bottom - rect.top, display::kKeepHeight);
    const display::KeepOrigin centred = display::CentredKeepOrigin(::GetSystemMetrics(SM_CXSCREEN),
                                                                   ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(rect.left, centred.x);
    EXPECT_EQ(rect.top, centred.y);
    EXPECT_EQ(::FindWindowW(CKeepModeDlg::kWindowClass, nullptr), nullptr);
}

TEST(KeepModeQuestion, EscTheRevertButtonAndClosingEachAnswerNoAtOnce) {
    const std::function<void(HWND)> answers[] = {
        [](HWND hwnd) { PressKey(hwnd, VK_ESCAPE); },
        [](HWND hwnd) { ClickBox(hwnd, display::kRevertButton); },
        [](HWND hwnd) { ::PostMessageW(hwnd, WM_CLOSE, 0, 0); },
    };
    for (size_t i = 0; i < std::size(answers); ++i) {
        const auto began = Clock::now();
        bool kept = true;
        {
            Answerer answerer(answers[i]);
            CKeepModeDlg question(nullptr);
            kept = question.AskToKeep();
            ASSERT_TRUE(answerer.shown) << i;
        }
        EXPECT_FALSE(kept) << i;
        EXPECT_LT(Clock::now() - began, std::chrono::seconds(4)) << i;
    }
}

TEST(KeepModeQuestion, EnterAndAPressReleasedOffTheButtonAnswerNothing) {
    bool stillAsking = false;
    bool kept = true;
    {
        Answerer answerer([&](HWND hwnd) {
            PressKey(hwnd, VK_RETURN);
            ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON,
                           MAKELPARAM(display::kKeepButton.x + 2, display::kKeepButton.y + 2));
            ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
            ::Sleep(600);
            stillAsking = ::IsWindowVisible(hwnd) != FALSE;
            PressKey(hwnd, VK_ESCAPE);
        });
        CKeepModeDlg question(nullptr);
        kept = question.AskToKeep();
    }
    EXPECT_TRUE(stillAsking);
    EXPECT_FALSE(kept);
}

TEST(KeepModeQuestion, WithoutAnAnswerItEndsWithNoWhenItsTimeIsOver) {
    int secondsAtStart = -1;
    const auto began = Clock::now();
    bool kept = true;
    {
        CKeepModeDlg question(nullptr, 1500);
        Answerer answerer([&](HWND) { secondsAtStart = question.secondsShown(); });
        kept = question.AskToKeep();
    }
    const auto took = Clock::now() - began;
    EXPECT_FALSE(kept);
    EXPECT_EQ(secondsAtStart, 2);
    EXPECT_GE(took, std::chrono::milliseconds(1400));
    EXPECT_LT(took, std::chrono::milliseconds(4000));
}

}  // namespace
