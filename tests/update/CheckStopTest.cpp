// The stop of a check against the check's last step (keeping the manifest and starting the
// updater): a stop comes wholly before that step or after it, never in between.
#include "framework/Handles.h"
#include "libs/versync/CheckStop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr DWORD kLongEnoughMs = 10000;

TEST(CheckStop, AStopBeforeTheLastStepKeepsItFromRunningAndWakesEveryWait) {
    CheckStop stop;
    ASSERT_TRUE(stop.valid());
    EXPECT_FALSE(stop.Requested());
    stop.Request();
    bool ran = false;
    EXPECT_FALSE(stop.RunUnlessRequested([&] { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_EQ(::WaitForSingleObject(stop.event(), 0), WAIT_OBJECT_0);
}

TEST(CheckStop, AStopDuringTheLastStepReturnsOnlyOnceTheStepHasEnded) {
    CheckStop stop;
    fw::KernelHandle entered(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    fw::KernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool ran = false;
    std::thread step([&] {
        ran = stop.RunUnlessRequested([&] {
            ::SetEvent(entered.get());
            ::WaitForSingleObject(release.get(), kLongEnoughMs);
        });
    });
    ASSERT_EQ(::WaitForSingleObject(entered.get(), kLongEnoughMs), WAIT_OBJECT_0);

    std::atomic<bool> stopReturned{false};
    std::thread stopper([&] {
        stop.Request();
        stopReturned = true;
    });
    ::Sleep(300);
    EXPECT_FALSE(stopReturned);      // it waits for the step
    EXPECT_FALSE(stop.Requested());  // without cutting into it
    ::SetEvent(release.get());
    stopper.join();
    step.join();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(stop.Requested());
    EXPECT_FALSE(stop.RunUnlessRequested([] {}));
}

TEST(CheckStop, WhenAStopReturnsTheLastStepHasWhollyHappenedOrNeverWill) {
    for (int round = 0; round < 200; ++round) {
        CheckStop stop;
        std::atomic<int> effects{0};  // the step's two writes
        std::thread step([&] {
            stop.RunUnlessRequested([&] {
                ++effects;
                ::Sleep(0);
                ++effects;
            });
        });
        stop.Request();
        const int seen = effects;
        step.join();
        ASSERT_TRUE(seen == 0 || seen == 2) << "round " << round << ": " << seen;
        ASSERT_EQ(effects, seen) << "round " << round;
    }
}

}  // namespace
