#include "settings/RunConfig.h"

namespace {

// Installed next to the executable; resolves against the current directory.
constexpr wchar_t kTemplatePath[] = L".\\RunConfig.dat";

// Until LoadRunConfig has run, reads and writes go to the template (as with no documents folder).
RunConfigFile& ActiveFile() {
    static RunConfigFile file(std::wstring(), kTemplatePath);
    return file;
}

void Save(SettingsGroup group) {
    ActiveFile().Save(group, g_runSettings);
}

}  // namespace

void LoadRunConfig() {
    ActiveFile() = RunConfigFile(RunConfigFile::DocumentsConfigPath(), kTemplatePath);
    ActiveFile().PrepareUserCopy();
    ActiveFile().Load(g_runSettings);
}

const std::wstring& UserConfigPath() {
    return ActiveFile().userConfigPath();
}
const std::wstring& ActiveConfigPath() {
    return ActiveFile().activePath();
}

void SaveAppSettings() {
    Save(SettingsGroup::App);
}
void SaveHotkeys() {
    Save(SettingsGroup::Hotkeys);
}
void SaveThreeDPresets() {
    Save(SettingsGroup::ThreeD);
}
void SaveClockSettings() {
    Save(SettingsGroup::Clock);
}
void SaveQualityPresets() {
    Save(SettingsGroup::Quality);
}
void SaveDisplaySettings() {
    Save(SettingsGroup::Display);
}
void SavePageSelection() {
    Save(SettingsGroup::Pages);
}
