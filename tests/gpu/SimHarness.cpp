#include "tests/gpu/SimHarness.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "gpu/DriverBinding.h"
#include "sim/core/IniDocument.h"

namespace simtest {

namespace {

const char* const kSimFolder = "C:\\velmora-sim";
const char* const kStatePath = "C:\\velmora-sim\\state.ini";
const char* const kLogPath = "C:\\velmora-sim\\calls.log";
const wchar_t* const kHiddenSuffix = L".hidden-by-test";
const wchar_t* const kSimLibraries[] = {L"atipdlxx.dll", L"atiadlxx.dll", L"atiadlxy.dll"};

std::string ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

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

struct MessageBoxSearch {
    const std::set<HWND>* handled;
    HWND found;
};

BOOL CALLBACK MatchOwnMessageBox(HWND hwnd, LPARAM context) {
    auto* s = reinterpret_cast<MessageBoxSearch*>(context);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    wchar_t className[32] = {};
    ::GetClassNameW(hwnd, className, 32);
    if (process == ::GetCurrentProcessId() && std::wstring(className) == L"#32770" &&
        ::IsWindowVisible(hwnd) && s->handled->count(hwnd) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A visible message box of this process, or null.
HWND FindOwnMessageBox(const std::set<HWND>& handled) {
    MessageBoxSearch search{&handled, nullptr};
    ::EnumWindows(&MatchOwnMessageBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Presses a message box's OK button and returns its text.
std::wstring PressOk(HWND box) {
    wchar_t text[256] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 256);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
    return text;
}

}  // namespace

void ResetSim(const std::string& scenario) {
    ::DeleteFileA(kStatePath);
    ::DeleteFileA(kLogPath);
    SetSimKey("Sim", "Scenario", scenario);
}

std::string GetSimKey(const std::string& section, const std::string& key) {
    return sim::IniDocument::Parse(ReadFile(kStatePath)).Get(section, key).value_or("");
}

void SetSimKey(const std::string& section, const std::string& key, const std::string& value) {
    sim::IniDocument doc = sim::IniDocument::Parse(ReadFile(kStatePath));
    doc.Set(section, key, value);
    WriteFile(kStatePath, doc.Serialize());
}

std::vector<std::string> CallLog() {
    std::vector<std::string> lines;
    std::istringstream text(ReadFile(kLogPath));
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
    ::DeleteFileA(kLogPath);
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

MessageBoxDismisser::MessageBoxDismisser() : watcher_([this] { Watch(); }) {}

MessageBoxDismisser::~MessageBoxDismisser() {
    stop_ = true;
    watcher_.join();
}

std::vector<std::wstring> MessageBoxDismisser::Texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

void MessageBoxDismisser::Watch() {
    std::set<HWND> handled;
    while (!stop_) {
        if (HWND box = FindOwnMessageBox(handled)) {
            std::wstring text = PressOk(box);
            handled.insert(box);
            std::lock_guard<std::mutex> lock(mutex_);
            texts_.push_back(std::move(text));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace simtest
