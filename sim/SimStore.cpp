#include "sim/SimStore.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <mutex>

#include "framework/Handles.h"
#include "sim/core/ScenarioDefaults.h"

namespace sim {

namespace {

// [Sim] Log=0 turns the call log off (for long runs, where appending a line to an ever longer
// file on every call would be most of the work); it follows the state each call reads.
std::atomic<bool> g_callLogOn{true};

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

std::atomic<int64_t> g_timeInCalls{0};

// The card of a process whose state says `[Sim] Memory=1`: read from the file once, then kept
// here (under the sim lock) and never written back.
struct MemoryCard {
    bool active = false;
    IniDocument doc;
};

MemoryCard& KeptCard() {
    static MemoryCard card;
    return card;
}

int64_t NowMicroseconds() {
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart > 0 ? counter.QuadPart * 1000000 / frequency.QuadPart : 0;
}

std::string ReadWholeFile(const char* path) {
    fw::FileHandle file(::CreateFileA(path, GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    if (!file) {
        return text;
    }
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    return text;
}

// Written to a neighbour and moved over the state, so a reader never sees half a file.
void WriteWholeFile(const char* path, const std::string& text) {
    ::CreateDirectoryA(kSimFolder, nullptr);
    const std::string temporary = std::string(path) + ".new";
    {
        fw::FileHandle file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return;
        }
        DWORD written = 0;
        ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    ::MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

IniDocument ReadStateFile() {
    return IniDocument::Parse(ReadWholeFile(kStatePath));
}

SimStore::SimStore() : lock_(Lock()), started_(NowMicroseconds()) {
    MemoryCard& kept = KeptCard();
    doc_ = kept.active ? kept.doc : ReadStateFile();
    dirty_ = CompleteFromScenario(doc_);
    kept.active = GetInt("Sim", "Memory", 0) != 0;
    FollowCallLogSwitch(doc_);
}

SimStore::~SimStore() {
    MemoryCard& kept = KeptCard();
    if (kept.active) {
        kept.doc = doc_;
    } else if (dirty_) {
        WriteWholeFile(kStatePath, doc_.Serialize());
    }
    g_timeInCalls += NowMicroseconds() - started_;
}

int64_t TimeInCalls() {
    return g_timeInCalls.load();
}

int SimStore::GetInt(std::string_view section, std::string_view key, int fallback) const {
    const std::optional<std::string> text = doc_.Get(section, key);
    if (!text) {
        return fallback;
    }
    return ParseInt(*text).value_or(fallback);
}

int64_t SimStore::GetInt64(std::string_view section, std::string_view key, int64_t fallback) const {
    const std::string text = GetString(section, key);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() ? value : fallback;
}

std::vector<int> SimStore::GetInts(std::string_view section, std::string_view key, size_t count,
                                   int fallback) const {
    std::vector<int> values(count, fallback);
    const std::vector<std::string> items = SplitList(doc_.Get(section, key).value_or(""));
    for (size_t i = 0; i < count && i < items.size(); ++i) {
        values[i] = ParseInt(items[i]).value_or(fallback);
    }
    return values;
}

std::string SimStore::GetString(std::string_view section, std::string_view key) const {
    return doc_.Get(section, key).value_or("");
}

bool SimStore::ListContains(std::string_view section, std::string_view key,
                            std::string_view item) const {
    for (const std::string& entry : SplitList(GetString(section, key))) {
        if (EqualsIgnoreCase(entry, item)) {
            return true;
        }
    }
    return false;
}

int SimStore::StallMs(std::string_view entryName) const {
    constexpr int kLongestStallMs = 60000;
    for (const std::string& entry : SplitList(GetString("Sim", "Stall"))) {
        const size_t colon = entry.rfind(':');
        if (colon == std::string::npos ||
            !EqualsIgnoreCase(std::string_view(entry).substr(0, colon), entryName)) {
            continue;
        }
        const int ms = ParseInt(std::string_view(entry).substr(colon + 1)).value_or(0);
        return std::clamp(ms, 0, kLongestStallMs);
    }
    return 0;
}

void SimStore::StallIfListed(std::string_view entryName) const {
    if (const int ms = StallMs(entryName); ms > 0) {
        ::Sleep(static_cast<DWORD>(ms));
    }
}

void SimStore::SetText(std::string_view section, std::string_view key, const std::string& text) {
    if (doc_.Get(section, key) != text) {
        doc_.Set(section, key, text);
        dirty_ = true;
    }
}

void SimStore::SetInt(std::string_view section, std::string_view key, int value) {
    SetText(section, key, std::to_string(value));
}

void SimStore::SetInt64(std::string_view section, std::string_view key, int64_t value) {
    SetText(section, key, std::to_string(value));
}

void SimStore::SetInts(std::string_view section, std::string_view key,
                       const std::vector<int>& values) {
    std::string text;
    for (int value : values) {
        if (!text.empty()) {
            text += ',';
        }
        text += std::to_string(value);
    }
    SetText(section, key, text);
}

void FollowCallLogSwitch(const IniDocument& state) {
    g_callLogOn = state.Get("Sim", "Log") != "0";
}

void AppendCallLog(std::string_view line) {
    if (!g_callLogOn) {
        return;
    }
    ::CreateDirectoryA(kSimFolder, nullptr);
    fw::FileHandle file(::CreateFileA(kCallLogPath, FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    const std::string text = std::string(line) + "\r\n";
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace sim
