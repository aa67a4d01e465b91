// The simulated card's model on top of its state: performance levels, clocks, fan and the
// temperature, as the ATIDL entry points see them.
#pragma once

#include <cstddef>
#include <vector>

#include "gpu/core/DriverRecords.h"
#include "sim/SimStore.h"

namespace sim {

struct SimRange {
    int minimum;
    int maximum;
    int step;
};

class SimCard {
  public:
    // Brings the temperature and the automatic fan up to the present moment.
    explicit SimCard(SimStore& store);

    // The count the driver reports, which a hostile scenario may set to any value.
    int ReportedLevelCount() const;
    // The Overdrive 5 parameters (ATIDL's and ADL2's): level count, flags and ranges; the
    // record's size word stays as the caller set it.
    void FillParameters(ADLODParameters& params) const;
    // The levels the card really has: the reported count when it is 1..8, otherwise 3.
    int StoredLevelCount() const;
    // {engine, memory, vddc} of level `index`.
    std::vector<int> Level(bool defaults, int index) const;
    void SetCurrentLevel(int index, const std::vector<int>& level);
    // Appends level 0's Vddc of an accepted level write to [Overdrive] VddcWrites, which keeps
    // the latest kKeptVddcWrites, so a test sees every voltage that reached the card in order.
    void RecordVddcWrite(int vddc);
    static constexpr size_t kKeptVddcWrites = 16;

    SimRange EngineRange() const { return Range("EngineRange"); }
    SimRange MemoryRange() const { return Range("MemoryRange"); }
    SimRange VddcRange() const { return Range("VddcRange"); }
    // The highest clocks the card accepts, above what it reports as its maximum.
    int EngineLimit() const;
    int MemoryLimit() const;
    bool AcceptsClocks(int engineClock, int memoryClock) const;

    int EngineClock() const;
    int MemoryClock() const;
    void SetClocks(int engineClock, int memoryClock);

    // {min %, max %, min RPM, max RPM}.
    std::vector<int> FanRange() const;
    int FanPercent() const;
    void SetFanPercent(int percent);
    void SetFanAutomatic();

    // Thousandths of a degree; a scenario may fix it to any value.
    int Temperature() const;

  private:
    SimRange Range(const char* key) const;
    void UpdateThermal();

    SimStore& store_;
};

}  // namespace sim
