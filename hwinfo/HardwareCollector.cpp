#include "hwinfo/HardwareCollector.h"

#include <utility>

#include "gpu/DriverBinding.h"
#include "libs/gfxprobe/devices/DisplayDevices.h"
#include "settings/ExeDirectory.h"

namespace hwinfo {

namespace {

constexpr wchar_t kLibraryName[] = L"\\GfxProbe.dll";
constexpr wchar_t kDriverVersionValue[] = L"DriverVersion";

// One reference on each distinct module that a non-null entry points into.
std::vector<fw::Module> PinEntryModules(const DriverEntries& entries) {
    std::vector<fw::Module> modules;
    VisitDriverEntries(entries, [&modules](const char*, DriverLibrary, auto entry) {
        if (entry == nullptr) {
            return;
        }
        const auto address = reinterpret_cast<const wchar_t*>(entry);
        HMODULE module = nullptr;
        if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                      GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                  address, &module)) {
            return;
        }
        for (const fw::Module& pinned : modules) {
            if (pinned.get() == module) {
                return;
            }
        }
        if (::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, address, &module)) {
            modules.emplace_back(module);
        }
    });
    return modules;
}

// What the thread owns for its whole run.
struct CollectorJob {
    CollectorSource source;
    std::shared_ptr<HardwareFacts> facts;
    DisplayInfoRecord record = UnknownDisplayInfo();
};

DWORD WINAPI CollectorMain(void* parameter) {
    std::unique_ptr<CollectorJob> job(static_cast<CollectorJob*>(parameter));
    fw::Module library(::LoadLibraryW(job->source.libraryPath.c_str()));
    const GfxProbeEntries probe = LookUpGfxProbeEntries(library.get());
    if (!probe.complete()) {
        return 0;
    }
    Rows rows;
    OverdriveBackend* overdrive =
        job->source.overdrive ? job->source.overdrive->backend() : nullptr;
    if (!CollectFacts(probe, job->source.databasePath.c_str(), overdrive, job->record, rows)) {
        return 0;
    }
    job->facts->Publish(std::move(rows));
    probe.HWClose();
    return 0;
}

}  // namespace

CollectorSource MakeSource(std::wstring libraryPath, std::wstring databasePath,
                           std::shared_ptr<OverdriveSession> overdrive) {
    CollectorSource source;
    source.libraryPath = std::move(libraryPath);
    source.databasePath = std::move(databasePath);
    if (overdrive) {
        source.driverModules = PinEntryModules(overdrive->entries());
    }
    source.overdrive = std::move(overdrive);
    return source;
}

CollectorSource ProgramSource() {
    wchar_t database[MAX_PATH];
    static_cast<void>(GetDataFilePath(database));  // an empty path when it does not fit
    return MakeSource(fw::PathNextToExecutable(kLibraryName), database, DriverBinding::Overdrive());
}

bool CollectFacts(const GfxProbeEntries& probe, const wchar_t* databasePath,
                  OverdriveBackend* overdrive, DisplayInfoRecord& record, Rows& rows) {
    if ((probe.HWInit(databasePath) & 0xFF) == 0) {
        return false;
    }
    int32_t count = 0;
    probe.HWGetDisplayNumber(&count);
    if (!IsPlausibleDisplayCount(count)) {
        probe.HWClose();
        return false;
    }
    probe.HWGetDisplayInfos(count - 1, &record, 1);
    FillRowsFromRecord(record, rows);
    ReadDriverVersion(rows[kDriverVersionRow]);

    if (overdrive != nullptr) {
        if (const std::optional<OverdriveClocks> clocks = overdrive->CurrentClocks()) {
            // A reading that is no clock leaves the library's text.
            for (const auto& [row, mhz] : {std::pair{kCoreClockRow, clocks->engineMHz},
                                           std::pair{kMemoryClockRow, clocks->memoryMHz}}) {
                if (std::wstring text = ClockText(mhz); !text.empty()) {
                    rows[row] = std::move(text);
                }
            }
        }
    }
    return true;
}

void ReadDriverVersion(std::wstring& row) {
    for (const gfxprobe::DisplayDevice& device : gfxprobe::PresentDisplayDevices()) {
        if (device.driverKey.empty()) {
            continue;
        }
        wchar_t version[kMachineStringChars];
        if (ReadMachineRegistryString(gfxprobe::DriverKeyPath(device.driverKey).c_str(),
                                      kDriverVersionValue, version)) {
            row = version;
        }
    }
}

fw::KernelHandle StartCollector(CollectorSource source, std::shared_ptr<HardwareFacts> facts) {
    auto job = std::make_unique<CollectorJob>();
    job->source = std::move(source);
    job->facts = std::move(facts);
    fw::KernelHandle thread(::CreateThread(nullptr, 0, CollectorMain, job.get(), 0, nullptr));
    if (thread) {
        static_cast<void>(job.release());  // the thread owns it now
    }
    return thread;
}

}  // namespace hwinfo
