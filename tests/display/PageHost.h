// Support for the page tests: a stand-in main window that presents nothing, the simulated
// adapter bound for one test, a settings file of its own in a scratch folder, and a ramp writer
// that records the exponents instead of touching the screen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/AppMessages.h"
#include "skin/SkinSubDialog.h"
#include "skin/SkinSurface.h"
#include "tests/support/HostWindow.h"

namespace pagetest {

// The kit's stand-in main window at the screen's top-left corner, plain (not layered), with the
// surface the pages draw into.
class HostWindow : public testkit::HostWindow {
  public:
    HostWindow();

    // Creates the page in this window, drawing into its surface, and shows it when asked; false
    // when the page could not be created.
    bool Open(CSkinSubDialog& page, bool shown);

    int presentations() const { return Count(WM_APP_REFRESH_LAYER); }
    int showStateRequests() const { return Count(WM_APP_SHOW_STATE); }

    SkinSurface surface;
};

// The exponents given to RecordGammaRamp, oldest first.
std::vector<double>& RecordedGamma();
bool RecordGammaRamp(double gamma);

// Makes the current directory a fresh scratch folder so that the settings writers' ".\" file
// lands there, and fills the settings record with the installed presets.
void UseScratchSettings();
// One key of the settings file the writers wrote, or `missing`.
int StoredInt(const wchar_t* section, const wchar_t* key, int missing = -999);
bool SettingsFileExists();

// Binds the simulated adapter in the given scenario, after writing extra [Sim] keys
// ("Refuse", "MissingExports", "Missing") and [Avivo] keys.
void BindSimulatedDriver(const std::string& scenario = "Default",
                         const std::vector<std::pair<std::string, std::string>>& simKeys = {});
void ReleaseDriver();

}  // namespace pagetest
