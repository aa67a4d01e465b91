#include "update/UpdaterBinding.h"

#include "framework/ModuleEntry.h"
#include "update/PrivateLibrary.h"

#include <utility>

bool UpdaterBinding::Bind(const std::wstring& libraryPath) {
    Unbind();
    fw::Module module = LoadPrivateLibrary(libraryPath);
    if (!module) {
        return false;
    }
    HMODULE m = module.get();
    entries_.UCSetProcessRootPath = fw::LookUpEntry<UCTextEntry>(m, "UCSetProcessRootPath");
    entries_.UCSetProcessFileName = fw::LookUpEntry<UCTextEntry>(m, "UCSetProcessFileName");
    entries_.UCSetUpdateRootPath = fw::LookUpEntry<UCTextEntry>(m, "UCSetUpdateRootPath");
    entries_.UCSetUpdateFileName = fw::LookUpEntry<UCTextEntry>(m, "UCSetUpdateFileName");
    entries_.UCSetUpdateCfgFileName = fw::LookUpEntry<UCTextEntry>(m, "UCSetUpdateCfgFileName");
    entries_.UCSetSoftwareMark = fw::LookUpEntry<UCTextEntry>(m, "UCSetSoftwareMark");
    entries_.UCSetUnionID = fw::LookUpEntry<UCNumberEntry>(m, "UCSetUnionID");
    entries_.UCSetMachineId = fw::LookUpEntry<UCTextEntry>(m, "UCSetMachineId");
    entries_.UCSetUpdateServer = fw::LookUpEntry<UCServerEntry>(m, "UCSetUpdateServer");
    entries_.UCManualVersync = fw::LookUpEntry<UCActionEntry>(m, "UCManualVersync");
    entries_.UCAutoVersync = fw::LookUpEntry<UCActionEntry>(m, "UCAutoVersync");
    entries_.UCStopVersync = fw::LookUpEntry<UCActionEntry>(m, "UCStopVersync");
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
