#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <system_error>

#include "settings/RunConfig.h"
#include "tests/support/FileText.h"

namespace testkit {

namespace {

// Removes a folder and everything in it; read-only files would stop the removal.
void RemoveTree(const std::filesystem::path& folder) {
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        ::SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

ScratchFolder::ScratchFolder(std::wstring_view name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::filesystem::path(temp) /
            (L"velmora-" + std::wstring(name) + L"-" + std::to_wstring(::GetCurrentProcessId()));
    RemoveTree(path_);
    std::error_code error;
    std::filesystem::create_directories(path_, error);
    if (error) {
        ADD_FAILURE() << L"no scratch folder " << path_.wstring() << ": " << error.message();
    }
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

std::wstring ScratchFolder::File(std::wstring_view name) const {
    return (path_ / name).wstring();
}

CurrentFolder::CurrentFolder(const std::filesystem::path& folder) {
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    previous_ = previous;
    if (!::SetCurrentDirectoryW(folder.c_str())) {
        ADD_FAILURE() << L"cannot make " << folder.wstring() << L" the current folder";
    }
}

CurrentFolder::~CurrentFolder() {
    ::SetCurrentDirectoryW(previous_.c_str());
}

SettingsFolder::SettingsFolder(std::wstring_view name)
    : scratch_(name), current_(scratch_.path()) {}

void SettingsFolder::WriteSettings(const std::string& text) const {
    std::ofstream(settingsFile(), std::ios::binary | std::ios::trunc) << text;
}

void SettingsFolder::StartWithSettings(const std::string& text) const {
    WriteSettings(text);
    g_runSettings = RunSettings{};
    RunConfigFile(std::wstring(), L".\\RunConfig.dat").Load(g_runSettings);
}

std::string SettingsFolder::SettingsText() const {
    return ReadFileText(settingsFile());
}

int SettingsFolder::SettingsInt(const wchar_t* section, const wchar_t* key, int missing) const {
    return static_cast<int>(::GetPrivateProfileIntW(section, key, missing, settingsFile().c_str()));
}

}  // namespace testkit
