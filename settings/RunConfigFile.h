// One settings file on disk: where it lives, the per-user copy made from the installed template,
// and reading or writing the rows of the settings table through the Windows profile functions.
#pragma once

#include "settings/core/ProfileSection.h"
#include "settings/core/RunSettings.h"
#include "settings/core/SettingsTable.h"

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

class RunConfigFile {
  public:
    // With an empty userConfigPath the template itself is the file read and written.
    RunConfigFile(std::wstring userConfigPath, std::wstring templatePath);

    // "<documents folder>\TVRunConfig.dat", or empty when the folder is not known.
    static std::wstring DocumentsConfigPath();

    // Makes the per-user copy from the template unless one exists (never overwrites it) and
    // clears its read-only attribute. Failures are ignored: reads then give defaults and the
    // first write creates the file.
    void PrepareUserCopy() const;

    const std::wstring& userConfigPath() const { return userConfigPath_; }
    // The file every read and write goes to.
    const std::wstring& activePath() const {
        return userConfigPath_.empty() ? templatePath_ : userConfigPath_;
    }

    // Reads every row of the table; a missing file, section or key reads as 0 (off).
    void Load(RunSettings& settings) const;
    // Writes the rows of one group, one key per write, in table order; true when every write
    // was made. The clock settings count as saved from then on.
    bool Save(SettingsGroup group, RunSettings& settings) const;

  private:
    // When and to what length the file was last written: while it stays the same, the sections
    // as last read (with our own writes since) are what the file holds.
    struct FileStamp {
        FILETIME written;
        ULONGLONG size;
    };
    using Sections = std::map<std::wstring, std::optional<ProfileSection>, std::less<>>;

    static std::optional<FileStamp> StampOf(const wchar_t* file);
    // The sections known for the file, emptied when its stamp changed since they were read.
    Sections& KnownSections(const wchar_t* file) const;

    std::wstring userConfigPath_;
    std::wstring templatePath_;
    mutable Sections sections_;
    mutable std::optional<FileStamp> stamp_;
};
