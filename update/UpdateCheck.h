// Configuring the update library and starting its automatic check.
#pragma once

#include "framework/Handles.h"
#include "update/MachineIdentity.h"
#include "update/ResolveHost.h"
#include "update/UpdateConfig.h"
#include "update/UpdaterBinding.h"

#include <string>

using HostResolver = bool (*)(const char* host, std::string& address);
using MachineIdSource = bool (*)(char (&buffer)[kMachineIdSize]);

// Looks the update server up (a failed lookup passes an empty address), then, when both
// directories are given, calls every bound entry in the library's fixed order: process root
// path, process file name, update root path, updater file name, machine identity, union id,
// software mark, configuration file name, server and port, automatic check.
void RunUpdateCheck(const UpdaterEntries& entries, const char* executableDirectory,
                    const char* updateDirectory, const char* machineId,
                    const char* host = UpdateServerHost(), HostResolver resolve = ResolveHost);

// What a background check needs; the thread owns its copy.
struct UpdateCheckRequest {
    std::string executableDirectory;
    std::string updateDirectory;
    std::string machineId;
    // When set, the thread asks it for the machine identity before the lookup (the identity's
    // library then loads there, not on the starter's thread) and hands on its answer instead.
    MachineIdSource identify = nullptr;
    std::string host = UpdateServerHost();
    HostResolver resolve = ResolveHost;
    // When set, the thread waits for this event (at most gateWaitMs) before anything else. Not
    // owned: the thread waits on a duplicate of its own.
    HANDLE gate = nullptr;
    DWORD gateWaitMs = 0;
};

// Runs RunUpdateCheck for a loaded binding on a thread of its own and returns at once, so a slow
// lookup never holds the caller up. The thread keeps its own reference to the library and its own
// copy of the entry points and texts: unbinding and process exit never pull anything from under
// it, and nobody has to wait for it. Returns the thread's handle (empty when nothing was started).
fw::KernelHandle StartUpdateCheckThread(const UpdaterBinding& binding, UpdateCheckRequest request);
