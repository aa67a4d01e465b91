#include "tests/support/SimHarness.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "gpu/DriverBinding.h"
#include "sim/SimStore.h"
#include "sim/core/IniDocument.h"
#include "tests/support/FileText.h"
#include "tests/support/MessageBoxes.h"

namespace simtest {

namespace {

using sim::kCallLogPath;
using sim::kSimFolder;
using sim::kStatePath;

const wchar_t* const kHiddenSuffix = L".hidden-by-test";
const wchar_t* const kSimLibraries[] = {L"atipdlxx.dll", L"atiadlxx.dll", L"atiadlxy.dll"};

void WriteFile(const char* path, const std::string& text) {
    ::CreateDirectoryA(kSimFolder, nullptr);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

std::wstring SystemPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

}  // namespace

void ResetSim(const std::string& scenario) {
    ::DeleteFileA(kStatePath);
    ::DeleteFileA(kCallLogPath);
    SetSimKey("Sim", "Scenario", scenario);
}

std::string GetSimKey(const std::string& section, const std::string& key) {
    return sim::IniDocument::Parse(testkit::ReadFileText(kStatePath))
        .Get(section, key)
        .value_or("");
}

void SetSimKey(const std::string& section, const std::string& key, const std::string& value) {
    sim::IniDocument doc = sim::IniDocument::Parse(testkit::ReadFileText(kStatePath));
    doc.Set(section, key, value);
    WriteFile(kStatePath, doc.Serialize());
}

std::vector<std::string> CallLog() {
    std::vector<std::string> lines;
    std::istringstream text(testkit::ReadFileText(kCallLogPath));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

void ClearCallLog() {
    ::DeleteFileA(kCallLogPath);
}

std::vector<std::string> CallLogLines(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : CallLog()) {
        if (line.rfind(prefix, 0) == 0) {
            found.push_back(line);
        }
    }
    return found;
}

HiddenSystemDll::HiddenSystemDll(const std::wstring& name) : path_(SystemPath(name)) {
    hidden_ = ::MoveFileExW(path_.c_str(), (path_ + kHiddenSuffix).c_str(),
                            MOVEFILE_REPLACE_EXISTING) != FALSE;
}

HiddenSystemDll::~HiddenSystemDll() {
    if (hidden_) {
        ::MoveFileExW((path_ + kHiddenSuffix).c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

void RestoreHiddenSystemDlls() {
    for (const wchar_t* name : kSimLibraries) {
        const std::wstring path = SystemPath(name);
        if (::GetFileAttributesW((path + kHiddenSuffix).c_str()) != INVALID_FILE_ATTRIBUTES) {
            ::MoveFileExW((path + kHiddenSuffix).c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
    }
}

}  // namespace simtest
