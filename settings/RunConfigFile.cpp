#include "settings/RunConfigFile.h"

#include <shlobj.h>

#include <cwchar>
#include <utility>

namespace {

constexpr wchar_t kUserConfigFileName[] = L"\\TVRunConfig.dat";

bool FileExists(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::FindClose(search);
    return true;
}

}  // namespace

RunConfigFile::RunConfigFile(std::wstring userConfigPath, std::wstring templatePath)
    : userConfigPath_(std::move(userConfigPath)), templatePath_(std::move(templatePath)) {}

std::wstring RunConfigFile::DocumentsConfigPath() {
    wchar_t folder[MAX_PATH + 1] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE)) {
        return {};
    }
    folder[MAX_PATH] = L'\0';
    if (folder[0] == L'\0') {
        return {};
    }
    return std::wstring(folder) + kUserConfigFileName;
}

void RunConfigFile::PrepareUserCopy() const {
    if (userConfigPath_.empty()) {
        return;
    }
    if (!FileExists(userConfigPath_)) {
        ::CopyFileW(templatePath_.c_str(), userConfigPath_.c_str(), TRUE);
    }
    // An installed template is often read-only, and the copy inherits that.
    const DWORD attributes = ::GetFileAttributesW(userConfigPath_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        ::SetFileAttributesW(userConfigPath_.c_str(),
                             writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL);
    }
}

void RunConfigFile::Load(RunSettings& settings) const {
    const wchar_t* file = activePath().c_str();
    for (const SettingField& row : SettingFields()) {
        const UINT raw = ::GetPrivateProfileIntW(row.section, row.key, 0, file);
        StoreFileValue(row, settings, static_cast<std::int32_t>(raw));
    }
}

void RunConfigFile::Save(SettingsGroup group, RunSettings& settings) const {
    const wchar_t* file = activePath().c_str();
    for (const SettingField& row : SettingFields()) {
        if (row.group == group) {
            WriteProfileInt(row.section, row.key, FileValue(row, settings), file);
        }
    }
}

BOOL WriteProfileInt(const wchar_t* section, const wchar_t* key, int value, const wchar_t* file) {
    wchar_t text[16];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%d", value);
    return ::WritePrivateProfileStringW(section, key, text, file);
}
