#include "update/UpdaterBinding.h"

#include "framework/ModuleEntry.h"
#include "update/PrivateLibrary.h"

#include <utility>

using fw::LookUpEntry;

bool UpdaterBinding::Bind(const std::wstring& libraryPath) {
    Unbind();
    fw::Module module = LoadPrivateLibrary(libraryPath);
    if (!module) {
        return false;
    }
    HMODULE m = module.get();
    entries_.UCSetProcessRootPath = LookUpEntry<UCTextEntry>(m, "UCSetProcessRootPath");
    entries_.UCSetProcessFileName = LookUpEntry<UCTextEntry>(m, "UCSetProcessFileName");
    entries_.UCSetUpdateRootPath = LookUpEntry<UCTextEntry>(m, "UCSetUpdateRootPath");
    entries_.UCSetUpdateFileName = LookUpEntry<UCTextEntry>(m, "UCSetUpdateFileName");
    entries_.UCSetUpdateCfgFileName = LookUpEntry<UCTextEntry>(m, "UCSetUpdateCfgFileName");
    entries_.UCSetSoftwareMark = LookUpEntry<UCTextEntry>(m, "UCSetSoftwareMark");
    entries_.UCSetUnionID = LookUpEntry<UCNumberEntry>(m, "UCSetUnionID");
    entries_.UCSetMachineId = LookUpEntry<UCTextEntry>(m, "UCSetMachineId");
    entries_.UCSetUpdateServer = LookUpEntry<UCServerEntry>(m, "UCSetUpdateServer");
    entries_.UCManualVersync = LookUpEntry<UCActionEntry>(m, "UCManualVersync");
    entries_.UCAutoVersync = LookUpEntry<UCActionEntry>(m, "UCAutoVersync");
    entries_.UCStopVersync = LookUpEntry<UCActionEntry>(m, "UCStopVersync");
    module_ = std::move(module);
    libraryPath_ = libraryPath;
    loaded_ = true;
    return true;
}

void UpdaterBinding::Unbind() {
    entries_ = UpdaterEntries{};
    module_.reset();
    loaded_ = false;
}
