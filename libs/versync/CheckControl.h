// The one background check of versync.dll and its lifetime.
//
// The check thread holds its own reference to the library and drops it as it leaves
// (FreeLibraryAndExitThread), so the program may free the library, or end, while a check runs:
// the code stays mapped until the thread is gone. Nothing ever waits for the thread inside the
// library's unload routine, which runs under the loader lock.
#pragma once

#include "libs/versync/core/VersyncSettings.h"

// Starts a check with these settings on a thread of its own and returns at once. False when a
// check is already running, the settings cannot make one, or the thread could not start.
bool StartCheck(const VersyncSettings& settings);

// Waits until the running check, if any, has ended.
void WaitForCheck();

// Tells the running check to stop and waits for it at most timeoutMs. After the stop nothing
// more is written or started, even by an exchange that is still winding down; a check that is
// keeping its answer and starting the updater at that moment finishes doing so first.
void StopCheck(unsigned long timeoutMs);

// From the library's unload routine: tells a running check to stop, never waits.
void AbandonCheck();
