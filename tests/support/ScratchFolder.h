// Folders of a test's own under the temporary folder, and the settings file the program's
// writers save to (".\RunConfig.dat" of the current folder while no per-user copy is known).
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace testkit {

// A fresh, empty folder "velmora-<name>-<process id>" under the temporary folder, removed with
// everything in it (read-only files included) when the object goes.
class ScratchFolder {
  public:
    explicit ScratchFolder(std::wstring_view name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The full path of a file in the folder.
    std::wstring File(std::wstring_view name) const;

  private:
    std::filesystem::path path_;
};

// Makes a folder the current directory for the object's life, then puts the previous one back.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::filesystem::path& folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    std::wstring previous_;
};

// A scratch folder made the current directory, so that the settings writers' ".\RunConfig.dat"
// lands in it.
class SettingsFolder {
  public:
    explicit SettingsFolder(std::wstring_view name);

    const std::filesystem::path& folder() const { return scratch_.path(); }
    std::filesystem::path settingsFile() const { return folder() / L"RunConfig.dat"; }

    // Writes the settings file as it is given.
    void WriteSettings(const std::string& text) const;
    // Writes the settings file and fills g_runSettings from it, as a start would.
    void StartWithSettings(const std::string& text) const;
    // The settings file's bytes; empty when it does not exist.
    std::string SettingsText() const;
    // One value of the settings file as the profile functions read it, or `missing`.
    int SettingsInt(const wchar_t* section, const wchar_t* key, int missing) const;

  private:
    ScratchFolder scratch_;
    CurrentFolder current_;
};

}  // namespace testkit
