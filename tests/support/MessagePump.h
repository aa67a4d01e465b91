// Running this thread's messages from a test, with a deadline.
#pragma once

#include <chrono>
#include <functional>

namespace testkit {

// Translates and dispatches every message waiting for this thread.
void PumpMessages();

// Pumps this thread's messages until `done` holds or `limit` has passed; whether it holds.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(2));

// Runs every waiting message as the program's modal loop does: PreTranslateMessage from the
// target window up its parents first, then translation and dispatch.
void RunMessageLoop();

}  // namespace testkit
