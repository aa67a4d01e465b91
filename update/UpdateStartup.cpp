#include "update/UpdateStartup.h"

#include "framework/ExecutableDirectory.h"
#include "update/AnsiPath.h"
#include "update/CheckGate.h"
#include "update/MachineIdentity.h"
#include "update/PrivateLibrary.h"
#include "update/UpdateCheck.h"
#include "update/WinsockSession.h"

#include <string>
#include <utility>

namespace {

// Bound before any other code of the program runs; the destructor unbinds at exit.
struct StartupBinding {
    StartupBinding() {
        RestrictLibrarySearch();
        binding.Bind(fw::PathNextToExecutable(kUpdaterLibraryPath));
    }
    UpdaterBinding binding;
};

StartupBinding g_startupBinding;

// Windows Sockets for the update library, from before the lookup until exit. Released by hand,
// not by a static destructor, because a check still running at exit must keep them.
bool g_socketsStarted = false;
fw::KernelHandle g_checkThread;

}  // namespace

const UpdaterBinding& TheUpdaterBinding() {
    return g_startupBinding.binding;
}

void RunUpdateStartupStep() {
    const std::wstring directory = fw::ExecutableDirectory();
    if (directory.empty()) {
        return;  // no directory to hand over, and no safe place to delete from
    }
    // A stale answer of an earlier check must not be taken for this one's. Deleted by its real
    // name: an ANSI form of it might name another folder's file.
    ::DeleteFileW(fw::PathNextToExecutable(kUpdateCfgFilePath).c_str());
    // The update library takes ANSI text, in which the directory may not survive: then it gets
    // the short form, or, when that does not survive either, no check runs.
    const std::string executableDirectory = AnsiPathForLibrary(directory);
    if (executableDirectory.empty()) {
        return;
    }
    const std::string updateDirectory = executableDirectory + kUpdateSubdirectory;
    g_socketsStarted = StartWinsock();
    UpdateCheckRequest request;
    request.executableDirectory = executableDirectory;
    request.updateDirectory = updateDirectory;
    request.identify = &GetMachineId;
    request.gate = UpdateCheckGate();
    request.gateWaitMs = kCheckGateWaitMs;
    g_checkThread = StartUpdateCheckThread(TheUpdaterBinding(), std::move(request));
}

void FinishUpdateCheck() {
    if (g_checkThread && ::WaitForSingleObject(g_checkThread.get(), 0) != WAIT_OBJECT_0) {
        return;  // still looking the server up: its sockets stay, the process ends anyway
    }
    g_checkThread.reset();
    if (g_socketsStarted) {
        StopWinsock();
        g_socketsStarted = false;
    }
}

void RunUpdateCheck(const char* executableDirectory, const char* updateDirectory,
                    const char* machineId) {
    RunUpdateCheck(TheUpdaterBinding().entries(), executableDirectory, updateDirectory, machineId);
}
