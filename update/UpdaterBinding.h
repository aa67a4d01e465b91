// The binding of the update library: its module and twelve entry points, each null when missing.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <string>

using UCTextEntry = void(WINAPI*)(const char* text);
using UCNumberEntry = void(WINAPI*)(int value);
using UCServerEntry = void(WINAPI*)(const char* address, int port);
using UCActionEntry = void(WINAPI*)();

// The entry points in binding order. A plain copy of this table stays callable for as long as
// the copier holds its own reference to the library.
struct UpdaterEntries {
    UCTextEntry UCSetProcessRootPath;
    UCTextEntry UCSetProcessFileName;
    UCTextEntry UCSetUpdateRootPath;
    UCTextEntry UCSetUpdateFileName;
    UCTextEntry UCSetUpdateCfgFileName;
    UCTextEntry UCSetSoftwareMark;
    UCNumberEntry UCSetUnionID;
    UCTextEntry UCSetMachineId;
    UCServerEntry UCSetUpdateServer;
    UCActionEntry UCManualVersync;
    UCActionEntry UCAutoVersync;
    UCActionEntry UCStopVersync;
};

// Calls visit(exportName, member) for every entry of the table, in binding order.
template <typename Entries, typename Visitor>
void VisitUpdaterEntries(Entries& entries, Visitor&& visit) {
    visit("UCSetProcessRootPath", entries.UCSetProcessRootPath);
    visit("UCSetProcessFileName", entries.UCSetProcessFileName);
    visit("UCSetUpdateRootPath", entries.UCSetUpdateRootPath);
    visit("UCSetUpdateFileName", entries.UCSetUpdateFileName);
    visit("UCSetUpdateCfgFileName", entries.UCSetUpdateCfgFileName);
    visit("UCSetSoftwareMark", entries.UCSetSoftwareMark);
    visit("UCSetUnionID", entries.UCSetUnionID);
    visit("UCSetMachineId", entries.UCSetMachineId);
    visit("UCSetUpdateServer", entries.UCSetUpdateServer);
    visit("UCManualVersync", entries.UCManualVersync);
    visit("UCAutoVersync", entries.UCAutoVersync);
    visit("UCStopVersync", entries.UCStopVersync);
}

class UpdaterBinding {
  public:
    UpdaterBinding() = default;
    ~UpdaterBinding() { Unbind(); }
    UpdaterBinding(const UpdaterBinding&) = delete;
    UpdaterBinding& operator=(const UpdaterBinding&) = delete;

    // Loads the library from this full path and looks up every entry point. False (and nothing
    // bound) when the library cannot be loaded.
    bool Bind(const std::wstring& libraryPath);
    // Every entry point becomes null and the library is freed.
    void Unbind();

    HMODULE module() const { return module_.get(); }
    const UpdaterEntries& entries() const { return entries_; }
    bool loaded() const { return loaded_; }
    const std::wstring& libraryPath() const { return libraryPath_; }

  private:
    fw::Module module_;
    UpdaterEntries entries_{};
    bool loaded_ = false;
    std::wstring libraryPath_;
};
