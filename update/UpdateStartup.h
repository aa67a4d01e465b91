// The update step of start-up: the process-wide binding of the update library, made during
// static initialisation, and the check it starts once per start.
#pragma once

#include "update/UpdaterBinding.h"

// The process-wide binding of "<executable directory>\update\versync.dll".
const UpdaterBinding& TheUpdaterBinding();

// Derives the executable and update directories, obtains the machine identity, deletes the
// update folder's "Update.xml", then starts the check on a background thread and returns at once.
// The thread waits behind the update check's gate (CheckGate.h) before it does anything.
void RunUpdateStartupStep();

// At exit: releases Windows Sockets if the background check has finished. A check still running
// (a slow lookup) is not waited for; the process ends around it.
void FinishUpdateCheck();

// The configuration calls the check makes, with the process-wide binding, on the calling thread.
void RunUpdateCheck(const char* executableDirectory, const char* updateDirectory,
                    const char* machineId);
