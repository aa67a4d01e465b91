#include "update/MachineIdentity.h"

#include "framework/ExecutableDirectory.h"
#include "framework/ModuleEntry.h"
#include "update/PrivateLibrary.h"
#include "update/UpdateConfig.h"

#include <cstring>
#include <utility>

namespace {

using MIGetIdentifyEntry = int(WINAPI*)(char* buffer, int length);

constexpr int kUsableLength = static_cast<int>(kMachineIdSize) - 1;

}  // namespace

MachineIdentity::MachineIdentity(std::wstring libraryPath) : libraryPath_(std::move(libraryPath)) {}

bool MachineIdentity::Get(char (&buffer)[kMachineIdSize]) {
    if (!obtained_) {
        fw::Module library = LoadPrivateLibrary(libraryPath_);
        auto getIdentify = fw::LookUpEntry<MIGetIdentifyEntry>(library.get(), "MIGetIdentify");
        if (getIdentify != nullptr) {
            // Into a scratch buffer, so that a failed call leaves the kept identity as it was.
            char answer[kMachineIdSize] = {};
            if (getIdentify(answer, kUsableLength) > 0) {
                answer[kUsableLength] = '\0';
                std::memcpy(identity_, answer, kMachineIdSize);
                obtained_ = true;
            }
        }
    }
    std::memcpy(buffer, identity_, kMachineIdSize);
    return obtained_;
}

bool GetMachineId(char (&buffer)[kMachineIdSize]) {
    static MachineIdentity identity(fw::PathNextToExecutable(kMachineIdLibraryPath));
    return identity.Get(buffer);
}
