// The hardware page's collector: one thread per run that asks the hardware probe library for the
// last display's facts, reads the driver version and the driver's current clocks, and publishes
// the eight rows. It holds everything it uses (the library, the driver modules, the facts), so
// neither start-up nor exit ever waits for it, however slow the library.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "gpu/core/OverdriveSession.h"
#include "hwinfo/GfxProbeEntries.h"
#include "hwinfo/HardwareFacts.h"

namespace hwinfo {

// Where the collector takes its facts from.
struct CollectorSource {
    std::wstring libraryPath;
    std::wstring databasePath;
    // A reference on each module the card's Overdrive calls into, and the Overdrive itself (it
    // goes first), so both stay usable after the program has released the driver libraries.
    std::vector<fw::Module> driverModules;
    std::shared_ptr<OverdriveSession> overdrive;
};

// GfxProbe.dll and DeviceManuf.db3 beside the executable, and the card's Overdrive. Call on the
// user-interface thread while the driver libraries are bound.
CollectorSource ProgramSource();
// The same with another library and Overdrive (none: no clocks from the driver).
CollectorSource MakeSource(std::wstring libraryPath, std::wstring databasePath,
                           std::shared_ptr<OverdriveSession> overdrive);

// The collection up to the publication: initialise the library, take the last display's record,
// fill the rows, read the driver version and, when the driver answers, its current clocks. False
// when the library cannot be initialised or reports no plausible display count (it is then
// closed, except after a failed initialisation). On true the caller publishes, then closes.
[[nodiscard]] bool CollectFacts(const GfxProbeEntries& probe, const wchar_t* databasePath,
                                OverdriveBackend* overdrive, DisplayInfoRecord& record, Rows& rows);

// Row 8: the "DriverVersion" of each display adapter's driver key in turn, so the last one
// enumerated with a readable value wins; `row` is left as it was when none has one.
void ReadDriverVersion(std::wstring& row);

// Starts the collector thread. The handle of the running thread, empty when none could start.
fw::KernelHandle StartCollector(CollectorSource source, std::shared_ptr<HardwareFacts> facts);

}  // namespace hwinfo
