#include "sim/SimModule.h"

#include <cstring>
#include <string>

#include "sim/SimStore.h"
#include "sim/core/ScenarioDefaults.h"

namespace sim {

namespace {

// "atipdlxx" for C:\windows\system32\atipdlxx.dll.
std::string ModuleBaseName(HINSTANCE module) {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : 0);
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    for (char& c : name) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return name;
}

bool ListContains(const IniDocument& doc, const char* key, const std::string& item) {
    for (const std::string& entry : SplitList(doc.Get("Sim", key).value_or(""))) {
        if (EqualsIgnoreCase(entry, item)) {
            return true;
        }
    }
    return false;
}

// Clears the export's address in this module's export table, so that GetProcAddress finds
// the name but no function: the export is missing as far as any caller can tell.
void HideExport(HINSTANCE module, const std::string& name) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (directory.VirtualAddress == 0) {
        return;
    }
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    auto* functions = reinterpret_cast<DWORD*>(base + exports->AddressOfFunctions);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        if (std::strcmp(reinterpret_cast<const char*>(base + names[i]), name.c_str()) != 0) {
            continue;
        }
        DWORD* slot = &functions[ordinals[i]];
        DWORD previous = 0;
        if (::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &previous)) {
            *slot = 0;
            ::VirtualProtect(slot, sizeof(*slot), previous, &previous);
        }
    }
}

}  // namespace

bool AttachSimModule(HINSTANCE module) {
    const std::string name = ModuleBaseName(module);
    // The scenario completes the file first: a personality may name the libraries it lacks.
    IniDocument state = ReadStateFile();
    CompleteFromScenario(state);
    FollowCallLogSwitch(state);
    if (ListContains(state, "Missing", name)) {
        AppendCallLog("refuse load " + name);
        return false;
    }
    for (const std::string& hidden : SplitList(state.Get("Sim", "MissingExports").value_or(""))) {
        HideExport(module, hidden);
    }
    AppendCallLog("load " + name);
    return true;
}

void DetachSimModule(HINSTANCE module) {
    AppendCallLog("unload " + ModuleBaseName(module));
}

}  // namespace sim
