// The simulated adapter's [Sim] Log=0, which the long runs use: no call lines are appended while it
// is set, the card still changes, and the log resumes once the key is gone.
#include <gtest/gtest.h>

#include "gpu/DriverBinding.h"
#include "tests/support/SimHarness.h"

namespace {

TEST(SimCallLogSwitch, LogZeroAppendsNothingAndTheCardStillChanges) {
    simtest::RestoreHiddenSystemDlls();
    simtest::ResetSim();
    simtest::SetSimKey("Sim", "Log", "0");
    ASSERT_FALSE(DriverBinding::LoadDriverLibraries().nothingLoaded());
    simtest::ClearCallLog();
    EXPECT_TRUE(simtest::Atidl().SetPerformanceClocks(80000, 110000, 1200));
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "VddcWrites"), "1200");
    EXPECT_TRUE(simtest::CallLog().empty());

    simtest::SetSimKey("Sim", "Log", "1");
    EXPECT_TRUE(simtest::Atidl().SetPerformanceClocks(81000, 110000, 1225));
    EXPECT_FALSE(simtest::CallLogLines("ATIDL_SetODPerformanceLevels").empty());
    DriverBinding::ReleaseDriverLibraries();
    simtest::ResetSim();
}

}  // namespace
