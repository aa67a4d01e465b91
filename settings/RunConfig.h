// The program's settings file: LoadRunConfig fills g_runSettings once at start-up; each section
// writer stores its part of g_runSettings. Everything goes to one active file: the per-user copy
// "TVRunConfig.dat" in the documents folder, or ".\RunConfig.dat" when that folder is unknown.
#pragma once

#include "settings/RunConfigFile.h"
#include "settings/core/RunSettings.h"

#include <string>

// Call once, after the current directory is the executable's directory (the template path
// ".\RunConfig.dat" is relative). Never fails; missing values read as 0.
void LoadRunConfig();

// The per-user copy's path; empty when the documents folder was not obtained (or before
// LoadRunConfig).
const std::wstring& UserConfigPath();
// The file all reads and writes go to.
const std::wstring& ActiveConfigPath();

// Section writers: each writes its section(s) of g_runSettings, key by key in file order.
void SaveAppSettings();
void SaveHotkeys();
void SaveThreeDPresets();
void SaveClockSettings();
void SaveQualityPresets();
void SaveDisplaySettings();
void SavePageSelection();
