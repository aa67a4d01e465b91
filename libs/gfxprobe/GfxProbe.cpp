// GfxProbe.dll: the machine's display adapters with what the platform reports about them and
// what "DeviceManuf.db3" knows of their ids. It reads device installation data, the adapters'
// driver keys and DXGI; it never calls the graphics driver's own libraries, which the program
// drives from another thread.
#include <windows.h>

#include <dxgi.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "libs/gfxprobe/devices/DisplayDevices.h"
#include "libs/gfxprobe/core/RecordBuilder.h"

namespace {

// No database of ours comes near this; a larger file is not read.
constexpr DWORD kMaxDatabaseBytes = 32u * 1024 * 1024;
// Driver values longer than this are not texts worth reading.
constexpr DWORD kMaxValueBytes = 64u * 1024;

struct ProbeState {
    std::mutex lock;
    bool ready = false;
    std::vector<DisplayInfoRecord> displays;
};

ProbeState& State() {
    static ProbeState state;
    return state;
}

gfxprobe::DeviceDatabase ReadDatabase(const wchar_t* path) {
    if (path == nullptr || path[0] == L'\0') {
        return {};
    }
    fw::FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxDatabaseBytes) {
        return {};
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
        return {};
    }
    return gfxprobe::DeviceDatabase::Parse(std::move(bytes)).value_or(gfxprobe::DeviceDatabase{});
}

std::u16string ToU16(const std::wstring& text) {
    return std::u16string(text.begin(), text.end());
}

// A text value (a string, or the UTF-16 bytes drivers store as binary), up to its first NUL;
// the caller cuts it to its field.
std::u16string ReadText(HKEY key, const wchar_t* name) {
    DWORD size = 0;
    DWORD type = 0;
    if (key == nullptr ||
        ::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_BINARY) || size > kMaxValueBytes) {
        return {};
    }
    std::vector<char16_t> data(size / 2 + 1, u'\0');
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                           &size) != ERROR_SUCCESS) {
        return {};
    }
    data[std::min<size_t>(size / 2, data.size() - 1)] = u'\0';
    return data.data();
}

// A number value: a DWORD, a QWORD or four or eight binary bytes; -1 when absent.
int64_t ReadNumber(HKEY key, const wchar_t* name) {
    uint64_t value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (key == nullptr ||
        ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        (size != 4 && size != 8) ||
        (type != REG_DWORD && type != REG_QWORD && type != REG_BINARY)) {
        return -1;
    }
    if (size == 4) {
        value &= 0xFFFFFFFFu;
    }
    return value > static_cast<uint64_t>(INT64_MAX) ? -1 : static_cast<int64_t>(value);
}

// Dedicated memory of the DXGI adapter with these ids; -1 when DXGI does not know it.
int64_t DxgiMemory(const gfxprobe::PciIds& ids) {
    fw::Module dxgi(::LoadLibraryW(L"dxgi.dll"));
    using CreateFactoryFn = HRESULT(WINAPI*)(REFIID, void**);
    const auto create = reinterpret_cast<CreateFactoryFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(dxgi.get(), "CreateDXGIFactory")));
    IDXGIFactory* factory = nullptr;
    if (create == nullptr ||
        FAILED(create(__uuidof(IDXGIFactory), reinterpret_cast<void**>(&factory)))) {
        return -1;
    }
    int64_t memory = -1;
    IDXGIAdapter* adapter = nullptr;
    for (UINT i = 0; memory < 0 && factory->EnumAdapters(i, &adapter) == S_OK; ++i) {
        DXGI_ADAPTER_DESC desc{};
        if (SUCCEEDED(adapter->GetDesc(&desc)) && desc.VendorId == ids.vendor &&
            desc.DeviceId == ids.device && desc.DedicatedVideoMemory > 0) {
            memory = static_cast<int64_t>(desc.DedicatedVideoMemory);
        }
        adapter->Release();
    }
    factory->Release();
    return memory;
}

gfxprobe::AdapterReport Report(const gfxprobe::DisplayDevice& device) {
    gfxprobe::AdapterReport report;
    report.hardwareId = ToU16(device.hardwareId);
    report.description = ToU16(device.description);
    const fw::RegKey key = gfxprobe::OpenDriverKey(device.driverKey);
    report.driverDesc = ReadText(key.get(), L"DriverDesc");
    report.providerName = ReadText(key.get(), L"ProviderName");
    report.driverVersion = ReadText(key.get(), L"DriverVersion");
    report.chipType = ReadText(key.get(), L"HardwareInformation.ChipType");
    report.adapterString = ReadText(key.get(), L"HardwareInformation.AdapterString");
    report.biosString = ReadText(key.get(), L"HardwareInformation.BiosString");
    report.biosDate = ReadText(key.get(), L"HardwareInformation.BiosDate");
    report.memoryType = ReadText(key.get(), L"HardwareInformation.MemoryType");
    report.memoryBytes = ReadNumber(key.get(), L"HardwareInformation.qwMemorySize");
    if (report.memoryBytes < 0) {
        report.memoryBytes = ReadNumber(key.get(), L"HardwareInformation.MemorySize");
    }
    if (report.memoryBytes < 0) {
        // DXGI is costly to start (under Wine it brings up a whole 3D stack) and can only be
        // matched by real PCI ids: an adapter without them is not asked about.
        const auto ids = gfxprobe::ParsePciHardwareId(report.hardwareId);
        if (ids && ids->vendor != 0 && ids->device != 0) {
            report.dxgiMemoryBytes = DxgiMemory(*ids);
        }
    }
    return report;
}

}  // namespace

// Finds the display adapters and learns their facts. True once the library is ready, also when
// the database is missing (the platform's own descriptions then stand in).
extern "C" __declspec(dllexport) BOOL WINAPI HWInit(const wchar_t* databasePath) {
    const gfxprobe::DeviceDatabase database = ReadDatabase(databasePath);
    std::vector<DisplayInfoRecord> displays;
    for (const gfxprobe::DisplayDevice& device : gfxprobe::PresentDisplayDevices()) {
        displays.push_back(gfxprobe::BuildRecord(Report(device), database));
    }
    ProbeState& state = State();
    std::lock_guard lock(state.lock);
    state.displays = std::move(displays);
    state.ready = true;
    return TRUE;
}

// The number of display adapters found; 0 before HWInit.
extern "C" __declspec(dllexport) BOOL WINAPI HWGetDisplayNumber(int32_t* count) {
    if (count == nullptr) {
        return FALSE;
    }
    ProbeState& state = State();
    std::lock_guard lock(state.lock);
    *count = static_cast<int32_t>(state.displays.size());
    return state.ready;
}

// Copies `count` records from display `index` on; FALSE, with nothing written, when they are not
// all there.
extern "C" __declspec(dllexport) BOOL WINAPI
    HWGetDisplayInfos(int32_t index, DisplayInfoRecord* records, int32_t count) {
    ProbeState& state = State();
    std::lock_guard lock(state.lock);
    if (records == nullptr || index < 0 || count < 0 ||
        static_cast<size_t>(index) + static_cast<size_t>(count) > state.displays.size()) {
        return FALSE;
    }
    std::copy_n(state.displays.begin() + index, count, records);
    return TRUE;
}

// Forgets what HWInit learnt.
extern "C" __declspec(dllexport) void WINAPI HWClose() {
    ProbeState& state = State();
    std::lock_guard lock(state.lock);
    state.displays.clear();
    state.ready = false;
}
