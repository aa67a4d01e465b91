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
    fw::ResolveEntries(module.get(), entries_, [](UpdaterEntries& table, auto visit) {
        VisitUpdaterEntries(table, visit);
    });
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
